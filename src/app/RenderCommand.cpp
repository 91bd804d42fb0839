// `corvane render DATA...`: loads each data file, draws the scene as the plot window would and
// saves the picture, headless. The picture size comes from --size or from the plot window's
// outer size in the settings (TViewForm.Width/Height): the client area is taken as the outer
// size less a 16-pixel frame across and 39 pixels down (borders and caption), and the picture
// as that client area less the 19-pixel status bar.
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "app/CommandLine.h"
#include "app/RenderSetup.h"
#include "fieldview/LoadedView.h"
#include "field/DerivedColumns.h"
#include "base/Errors.h"
#include "field/VariableRows.h"
#include "output/ImageExport.h"
#include "scene/PlotWindowSize.h"
#include "scene/SceneLoad.h"
#include "scene/SceneRenderer.h"

namespace corvane {
namespace {



// A notifier that also remembers whether anything was said (an unsaved picture is a failure).
class CountingNotifier : public StderrNotifier {
 public:
  void Warning(const std::string& text) override {
    ++count;
    StderrNotifier::Warning(text);
  }
  void Message(const std::string& text) override {
    ++count;
    StderrNotifier::Message(text);
  }
  int count = 0;
};

// DATA with its extension replaced by ".bmp", in `folder` when one is given.
QString BitmapPathFor(const std::string& data, const QString& folder) {
  const QFileInfo info(QString::fromStdString(data));
  const QString name = info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
  const QString dir = folder.isEmpty() ? info.path() : folder;
  return QDir(dir).filePath(name + QStringLiteral(".bmp"));
}

// Whether `out` is the same file as one of `inputs`, by name or through a link.
bool IsOneOf(const QString& out, const std::vector<std::string>& inputs) {
  std::error_code error;
  const std::filesystem::path target(out.toStdString());
  for (const std::string& input : inputs)
    if (!input.empty() && std::filesystem::equivalent(target, std::filesystem::path(input), error)) return true;
  return false;
}

// A picture of the Mach number or total pressure computed from columns whose names do not look
// like the quantities they stand for says so.
void WarnOfDerivedColumns(const LoadResult& loaded, const ProgramOptions& options, Notifier& notifier) {
  const int row = options.RGroup;
  if (!options.load.IncludeVelCheck) return;
  const std::vector<std::string> items = RGroupItemsOf(loaded.data, true);
  if (row < 0 || static_cast<std::size_t>(row) >= items.size()) return;
  const std::string& item = items[static_cast<std::size_t>(row)];
  if (item != kMachCaption && item != kTotalPressureCaption) return;
  const auto columns =
      DerivedColumnsOf(loaded.choices.names, loaded.choices.Rows());
  for (const std::string& doubt : DerivedColumnDoubts(columns)) notifier.Warning(doubt);
}

}  // namespace

// The settings' centre and scales, with the axis margins a rescale would leave: without them the
// axes of a view that was never fitted would fall outside the picture.
void MakeRoomForAxes(SceneState& state) {
  const ViewTransform wanted = state.view;
  FitView(state);
  state.view.CentreX = wanted.CentreX;
  state.view.CentreY = wanted.CentreY;
  state.view.ScaleX = wanted.ScaleX;
  state.view.ScaleY = wanted.ScaleY;
}

void PrepareRenderState(const CommandArgs& args, const ProgramOptions& options, SceneState& state) {
  state.options = options;
  const DisplayOptions& d = options.display;
  int width = args.width, height = args.height;
  if (width <= 0 || height <= 0) {
    const PlotClientSize client = ClientSizeOfPlotWindow(d.PictureWindowWidth, d.PictureWindowHeight);
    width = client.width;
    height = client.height - kPlotStatusBarHeight;
  }
  state.view.SetPictureSize(width, height);
  if (args.view == "settings") {
    state.view.CentreX = d.x0box;
    state.view.CentreY = d.y0box;
    state.view.ScaleX = d.xscalebox;  // a scale of exactly 0 is fitted by the drawing itself
    state.view.ScaleY = d.yscalebox;
  }
  state.random.Seed(args.seedGiven ? args.seed : static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay()));
}

void TakeLoadedData(SceneState& state, LoadResult& loaded, const ProgramOptions& options) {
  // A new zone count takes its edge flags from the four check boxes, as the windows do.
  const bool newZoneList = loaded.data.ZoneCount != state.data.ZoneCount;
  ApplyLoadToScene(state, loaded, newZoneList);
  ApplyContourBoxes(state.fieldView, options);
  // The velocity selectors keep the reader's choice unless the settings named a row.
  state.options.load.xvecbox = options.load.xvecbox >= 0 ? options.load.xvecbox : loaded.choices.velocityX;
  state.options.load.yvecbox = options.load.yvecbox >= 0 ? options.load.yvecbox : loaded.choices.velocityY;
}

int RunRenderCommand(const CommandArgs& args) {
  if (args.series) return RunSeriesRender(args);
  if (args.data.empty()) throw CorvaneError("描画するデータファイルを指定してください");
  const ProgramOptions options = BuildOptions(args);
  QString folder;
  if (args.data.size() > 1 && !args.output.empty()) {
    folder = QString::fromStdString(args.output);
    if (!QFileInfo(folder).isDir())
      throw CorvaneError("複数のデータを描画するときの -o は出力先のフォルダです。フォルダがありません: " + args.output);
  }

  SceneState state;
  PrepareRenderState(args, options, state);

  // A picture never replaces a file it is drawn from (a data file named run.bmp, say).
  std::vector<std::string> inputs = args.data;
  inputs.push_back(args.settingsPath);

  StderrNotifier notifier;
  NullProgress progress;
  bool failed = false;
  for (std::size_t k = 0; k < args.data.size(); ++k) {
    const std::string& path = args.data[k];
    try {
      const QString out = args.data.size() == 1 && !args.output.empty() ? QString::fromStdString(args.output)
                                                                        : BitmapPathFor(path, folder);
      if (IsOneOf(out, inputs))
        throw CorvaneError("画像の保存先が入力ファイルと同じなので、上書きしません: " + out.toStdString());
      std::optional<LoadResult> loaded = LoadAnyDataFile(path, options.load, state.fieldView, notifier, progress);
      if (!loaded) throw CorvaneError("読み込めませんでした");
      if (k == 0) WarnOfDerivedColumns(*loaded, options, notifier);
      TakeLoadedData(state, *loaded, options);

      if (args.view == "fit" || (args.view == "fit-first" && k == 0)) FitView(state);
      if (args.view == "settings" && options.display.ShowXYLabel) MakeRoomForAxes(state);
      DrawScene(state, progress, notifier, IsVectorPicturePath(out));
      // The notifier has named the cause; the picture is still saved with the other layers.
      if (!state.contourProblem.empty()) failed = true;

      CountingNotifier saveNotifier;
      if (!SavePictureByExtension(out, IsVectorPicturePath(out) ? CompletePicture(state) : QPicture(), state.bitmap, saveNotifier,
                                  HasExactPicture(state)))
        throw CorvaneError("画像を保存できませんでした: " + out.toStdString());
    } catch (const std::exception& e) {
      std::cerr << "corvane: " << path << ": " << e.what() << "\n";
      failed = true;
    }
  }
  return failed ? 1 : 0;
}

}  // namespace corvane
