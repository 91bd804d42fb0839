// `corvane render --series DATA... -o OUT`: every frame of a time series drawn with one view and
// one set of options and written as an animation (.webp, .gif) or as numbered PNG pictures. The
// view is fitted to the first frame (or taken from the settings) and kept, so the pictures line
// up; frames are loaded and drawn two at a time, one on each core.
#include <QFileInfo>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/CommandLine.h"
#include "app/RenderSetup.h"
#include "base/BothCores.h"
#include "fieldview/LoadedView.h"
#include "readers/DataSeries.h"
#include "base/Errors.h"
#include "output/AnimationWriter.h"

namespace corvane {
namespace {

// "FILE" or "FILE (時刻 T)" for messages about a frame.
std::string FrameName(const SeriesFrame& frame) {
  if (!frame.time) return frame.path;
  char text[48];
  std::snprintf(text, sizeof text, " (時刻 %g)", *frame.time);
  return frame.path + text;
}

}  // namespace

int RunSeriesRender(const CommandArgs& args) {
  if (args.data.empty()) throw CorvaneError("描画するデータファイルを指定してください");
  if (args.output.empty()) throw CorvaneError("--series には -o で出力 (.webp、.gif かフォルダ/) を指定してください");
  const ProgramOptions options = BuildOptions(args);
  const QString out = QString::fromStdString(args.output);
  std::error_code error;
  for (const std::string& input : args.data)
    if (std::filesystem::equivalent(std::filesystem::path(args.output), std::filesystem::path(input), error))
      throw CorvaneError("アニメーションの保存先が入力ファイルと同じなので、上書きしません: " + args.output);
  const std::vector<SeriesFrame> frames = SeriesFrames(args.data);
  AnimationWriter writer(out, args.fps);

  StderrNotifier notifier;
  NullProgress progress;
  std::optional<SeriesRange> range;
  if (args.sameRange) range = RangeOverSeries(frames, options.load, notifier, progress);

  SceneState states[2];
  for (SceneState& state : states) {
    PrepareRenderState(args, options, state);
    if (args.seedGiven) continue;
    state.random.Seed(1);  // the same labels' chances in every frame, whichever thread draws it
  }
  // Loads and draws one frame into `state`.
  auto draw = [&](SceneState& state, const SeriesFrame& frame, bool first) {
    NullProgress own;
    try {
      std::optional<LoadResult> loaded = LoadSeriesFrame(frame, options.load, FieldView(), notifier, own);
      if (!loaded) throw CorvaneError("読み込めませんでした");
      TakeLoadedData(state, *loaded, options);
      if (range) {
        ApplySeriesRange(state.fieldView, *range, options.load.AutoStepCheck, options.load.StepBar);
        ApplyContourBoxes(state.fieldView, options);  // a range the settings give still wins
      }
      if (first && args.view != "settings") FitView(state);
      if (first && args.view == "settings" && options.display.ShowXYLabel) MakeRoomForAxes(state);
      if (!args.seedGiven) state.random.Seed(1);
      else state.random.Seed(args.seed);
      DrawScene(state, own, notifier);
    } catch (const CorvaneError& e) {
      throw CorvaneError(FrameName(frame) + ": " + e.what());
    }
  };

  draw(states[0], frames.front(), true);
  writer.Add(states[0].bitmap);
  const ViewTransform view = states[0].view;
  for (std::size_t k = 1; k < frames.size(); k += 2) {
    const std::int64_t pair = std::min<std::int64_t>(2, static_cast<std::int64_t>(frames.size() - k));
    RunOnBothCores(pair, 2, [&](std::int64_t a, std::int64_t b) {
      for (std::int64_t t = a; t < b; ++t) {
        states[t].view = view;
        draw(states[t], frames[k + static_cast<std::size_t>(t)], false);
      }
    });
    for (std::int64_t t = 0; t < pair; ++t) writer.Add(states[t].bitmap);
  }
  const int written = writer.Finish();
  std::cout << out.toStdString() << ": " << written << " 枚\n";
  return 0;
}

}  // namespace corvane
