#include "streamline/StreamLayer.h"

#include <algorithm>
#include <functional>

#include "streamline/SeedList.h"

namespace corvane {
namespace {

// Traces every seed in drawing order, handing each path to `take` and keeping the gauge; stops
// early on the abort command.
void ForEachStreamline(const LayerContext& context, const std::function<void(const StreamPath&)>& take) {
  const StreamOptions& o = context.options.stream;
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
      progress.Pump();
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
      progress.Pump();
      if (progress.AbortRequested()) return;
    }
  }
}

}  // namespace

StreamFieldSetup StreamSetupFrom(const LayerContext& context) {
  const ProgramOptions& o = context.options;
  StreamFieldSetup setup;
  setup.uRow = o.load.xvecbox;
  setup.vRow = o.load.yvecbox;
  setup.dx = o.display.xoffsetbox;
  setup.dy = o.display.yoffsetbox;
  setup.copies = std::clamp(o.display.writetimes, 0, 10);
  setup.baseX = context.offsetX;
  setup.baseY = context.offsetY;
  return setup;
}

void DrawStreamPath(Canvas& canvas, const StreamPath& path) {
  if (path.vertices.empty()) return;
  canvas.MoveTo(path.vertices.front().px, path.vertices.front().py);
  for (std::size_t k = 1; k < path.vertices.size(); ++k) {
    const PathVertex& v = path.vertices[k];
    if (v.drawn) canvas.LineTo(v.px, v.py);
    else canvas.MoveTo(v.px, v.py);
  }
}

void DrawStreamlines(const LayerContext& context, Canvas& canvas) {
  const StreamOptions& o = context.options.stream;
  context.progress.SetStatus("流線を描画しています・・・");
  canvas.SetPen(o.StreamColShape, std::clamp(o.StreamLineWid, 1, 10));
  ForEachStreamline(context, [&canvas](const StreamPath& path) { DrawStreamPath(canvas, path); });
  context.progress.SetStatus("流線描画終了");
}

std::vector<StreamPath> TraceStreamlines(const LayerContext& context) {
  std::vector<StreamPath> paths;
  ForEachStreamline(context, [&paths](const StreamPath& path) { paths.push_back(path); });
  return paths;
}

}  // namespace corvane
