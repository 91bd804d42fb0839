// Writing the frames of a time series as one animation: an animated WebP (libwebp's animation
// encoder), a GIF (giflib), or numbered PNG pictures in a folder. Frames are added one at a
// time, so a long series never lies in memory whole.
#pragma once
#include <QString>

#include <memory>

class QImage;

namespace corvane {

enum class AnimationKind { WebP, Gif, Folder };

// The kind `path` asks for: a name ending in .webp or .gif (any case), else a folder when the
// path ends in a slash or names an existing folder. Throws CorvaneError for anything else.
AnimationKind AnimationKindOf(const QString& path);

class AnimationWriter {
 public:
  // Starts an animation of `fps` frames per second (1..100). A folder is created when needed.
  AnimationWriter(const QString& path, int fps);
  ~AnimationWriter();
  AnimationWriter(const AnimationWriter&) = delete;
  AnimationWriter& operator=(const AnimationWriter&) = delete;

  // Adds the next frame; every frame has the size of the first. Throws CorvaneError naming the
  // file when it cannot be written.
  void Add(const QImage& frame);
  // Writes what is left and closes the file; returns the number of frames written.
  int Finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace corvane
