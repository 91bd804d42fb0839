#include "streamline/StreamLayer.h"

#include <algorithm>
#include <functional>

#include "render/ClipArea.h"
#include "render/SubpixelCanvas.h"
#include "streamline/SeedList.h"

namespace corvane {
namespace {

// Traces every seed in drawing order, handing each path to `take` and keeping the gauge; stops
// early on the abort command.
void ForEachStreamline(const LayerContext& context, const StreamOptions& o,
                       const std::function<void(const StreamPath&)>& take) {
  Progress& progress = context.progress;
  StreamField field(context.data, context.view, StreamSetupFrom(context));
  if (!field.Valid()) return;
  if (o.StreamLineGridSelect) {
    const auto& seeds = o.StreamList.seeds;
    const int count = static_cast<int>(std::min<std::size_t>(seeds.size(), StreamSeedList::kMaxSeeds));
    progress.SetMaximum(count);
    progress.SetPosition(0);
    for (int r = 1; r <= count; ++r) {
      const StreamSeed& s = seeds[static_cast<std::size_t>(r - 1)];
      take(TraceFromGridNode(field, s.copy, s.zone, s.i, s.j));
      progress.SetPosition(r);
      if (progress.AbortRequested()) return;
    }
  }
  if (o.StreamLineSegment) {
    const std::vector<WorldPoint> seeds = SegmentSeedPoints(o);
    const int n = static_cast<int>(seeds.size()) - 1;
    progress.SetMaximum(n);
    progress.SetPosition(0);
    for (int k = 0; k <= n; ++k) {
      const WorldPoint& p = seeds[static_cast<std::size_t>(k)];
      take(TraceFromPoint(field, p.x, p.y));
      progress.SetPosition(k);
      if (progress.AbortRequested()) return;
    }
  }
}

}  // namespace

StreamFieldSetup StreamSetupFrom(const LayerContext& context) {
  StreamFieldSetup setup;
  setup.uRow = context.load.xvecbox;
  setup.vRow = context.load.yvecbox;
  setup.dx = context.display.copyOffsetX;
  setup.dy = context.display.copyOffsetY;
  setup.copies = std::clamp(context.display.overlayCopies, 0, 10);
  setup.baseX = context.offsetX;
  setup.baseY = context.offsetY;
  return setup;
}

void DrawStreamPath(Canvas& canvas, const StreamPath& path, const QRect& area) {
  if (path.vertices.empty()) return;
  ClippedPen pen(canvas, area);
  pen.MoveTo(path.vertices.front().px, path.vertices.front().py);
  for (std::size_t k = 1; k < path.vertices.size(); ++k) {
    const PathVertex& v = path.vertices[k];
    if (v.drawn) pen.LineTo(v.px, v.py);
    else pen.MoveTo(v.px, v.py);
  }
}

void DrawStreamlines(const LayerContext& context, const StreamOptions& o, Canvas& canvas, int units) {
  context.progress.SetStatus("流線を描画しています・・・");
  canvas.SetPen(o.streamLineColour, std::clamp(o.StreamLineWid, 1, 10));
  if (units > 1) {
    // The same paths, their points placed through the finer view.
    const ViewTransform fine = FineView(context.view, units);
    const QRect area = FineArea(context.plotArea, units);
    ForEachStreamline(context, o, [&](const StreamPath& path) {
      StreamPath finePath = path;
      for (PathVertex& v : finePath.vertices) v.px = fine.WorldToPixelX(v.x), v.py = fine.WorldToPixelY(v.y);
      DrawStreamPath(canvas, finePath, area);
    });
  } else {
    ForEachStreamline(context, o, [&](const StreamPath& path) { DrawStreamPath(canvas, path, context.plotArea); });
  }
  context.progress.SetStatus("流線描画終了");
}

std::vector<StreamPath> TraceStreamlines(const LayerContext& context, const StreamOptions& o) {
  std::vector<StreamPath> paths;
  ForEachStreamline(context, o, [&paths](const StreamPath& path) { paths.push_back(path); });
  return paths;
}

}  // namespace corvane
