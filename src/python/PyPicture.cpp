// Pictures for Python: the scene `corvane render` draws and the legend `corvane legend` draws,
// as an RGB array (buffer protocol), a file by extension and a PNG for notebooks.
#include <QBuffer>
#include <QImage>
#include <QPicture>
#include <optional>

#include "app/LegendSetup.h"
#include "app/RenderSetup.h"
#include "field/DeferredRows.h"
#include "fieldview/ContourRanges.h"
#include "fieldview/LoadedView.h"
#include "base/Errors.h"
#include "output/ImageExport.h"
#include "python/PyDataSet.h"
#include "python/PyNotifier.h"
#include "scene/SceneLoad.h"

namespace corvane {
namespace {

struct Picture {
  QImage bitmap;  // RGB32, as drawn
  QImage rgb;     // the same as RGB888, what the buffer protocol hands out
  // What a vector file is made of: the legend's picture. A scene is drawn into the bitmap alone
  // (a picture of its layers costs a fifth of the drawing) and drawn again, the same way, from
  // what it was drawn from when a vector file is saved: the data set does not change.
  QPicture picture;
  struct SceneSource {
    DataSet set;
    CommandArgs args;
    ProgramOptions options;
  };
  std::optional<SceneSource> scene;
  std::optional<ViewTransform> view;  // the scene's view
};
using PicturePtr = std::shared_ptr<Picture>;

PicturePtr MakePicture(QImage bitmap) {
  auto p = std::make_shared<Picture>();
  p->bitmap = std::move(bitmap);
  p->rgb = p->bitmap.convertToFormat(QImage::Format_RGB888);
  return p;
}

void Save(const Picture& p, const std::string& path) {
  const QString out = QString::fromStdString(path);
  CollectingNotifier notifier;
  bool saved = false;
  {
    py::gil_scoped_release unlocked;
    QPicture vector;
    bool exact = false;
    if (IsVectorPicturePath(out)) {
      if (p.scene) {
        WithScene(*p.scene->set, p.scene->args, p.scene->options, p.view, [&](SceneState& state) {
          NullProgress progress;
          DrawScene(state, progress, notifier);
          vector = CompletePicture(state);
          exact = HasExactPicture(state);
        });
      } else {
        vector = p.picture;
      }
    }
    saved = SavePictureByExtension(out, vector, p.bitmap, notifier, exact);
  }
  if (!saved) throw CorvaneError(notifier.Joined("画像を保存できませんでした: " + path));
}

py::bytes PngBytes(const Picture& p) {
  QByteArray bytes;
  {
    py::gil_scoped_release unlocked;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    p.bitmap.save(&buffer, "PNG");
  }
  return py::bytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

py::tuple ViewTuple(const ViewTransform& v) {
  return py::make_tuple(v.PictureWidth, v.PictureHeight, v.CentrePixelX, v.CentrePixelY, v.CentreX, v.CentreY,
                        v.ScaleX, v.ScaleY, v.AxisMarginLeft, v.AxisMarginBottom);
}

ViewTransform ViewFromTuple(const py::object& o) {
  const py::sequence s = py::reinterpret_borrow<py::sequence>(o);
  if (s.size() != 10) throw CorvaneError("view は \"fit\"、\"settings\" か、Picture.view の値にしてください");
  ViewTransform v;
  v.PictureWidth = s[0].cast<std::int32_t>();
  v.PictureHeight = s[1].cast<std::int32_t>();
  v.CentrePixelX = s[2].cast<std::int32_t>();
  v.CentrePixelY = s[3].cast<std::int32_t>();
  v.CentreX = s[4].cast<double>();
  v.CentreY = s[5].cast<double>();
  v.ScaleX = s[6].cast<double>();
  v.ScaleY = s[7].cast<double>();
  v.AxisMarginLeft = s[8].cast<std::int32_t>();
  v.AxisMarginBottom = s[9].cast<std::int32_t>();
  if (v.PictureWidth < 1 || v.PictureHeight < 1 || v.PictureWidth > 20000 || v.PictureHeight > 20000)
    throw CorvaneError("view の画像の大きさが正しくありません");
  return v;
}

PicturePtr Render(const DataSet& set, const py::object& size, const py::object& settings, const py::object& sets,
                  const py::object& view, const py::object& seed) {
  const CallOptions call = Combined(*set, settings, sets);
  const ProgramOptions options = OptionsOf(call);
  CommandArgs args = ArgsOf(call);
  const std::optional<ViewTransform> given = SizeAndView(args, size, view);
  args.seedGiven = true;  // label positions repeat from call to call
  args.seed = seed.is_none() ? 1u : static_cast<unsigned>(seed.cast<long long>());

  CollectingNotifier notifier;
  std::string problem;
  PicturePtr picture;
  {
    py::gil_scoped_release unlocked;
    WithScene(*set, args, options, given, [&](SceneState& state) {
      NullProgress progress;
      DrawScene(state, progress, notifier, false);
      problem = state.contourProblem;
      picture = MakePicture(state.bitmap);
      picture->scene = Picture::SceneSource{set, args, options};
      picture->view = state.view;
    });
  }
  if (!problem.empty()) throw CorvaneError(problem);
  notifier.WarnInPython();
  return picture;
}

PicturePtr Legend(const DataSet& set, const py::object& settings, const py::object& sets) {
  const CallOptions call = Combined(*set, settings, sets);
  std::vector<std::pair<std::string, std::string>> other;
  const ProgramOptions options = OptionsOf(call, &other);
  FieldView view;
  {
    std::lock_guard<std::mutex> lock(set->lock);
    EnsureRowValues(set->loaded.data, options.RGroup);  // the legend shows the chosen row's range
    TakeComputedRanges(set->loaded.data, set->loaded.view, options.load);
    view = set->loaded.view;
  }
  const LegendJob job = PrepareLegend(ArgsOf(call), other, options, view);
  if (!job.problem.empty()) throw CorvaneError(job.problem);
  PicturePtr picture;
  {
    py::gil_scoped_release unlocked;
    QPicture drawn = BuildLegendPicture(job.legend, job.input);
    picture = MakePicture(LegendBitmap(drawn, job.legend));
    picture->picture = std::move(drawn);
  }
  return picture;
}

}  // namespace

// The data set's options, then the call's: its settings file instead, its assignments after.
CallOptions Combined(const DataSetHolder& set, const py::object& settings, const py::object& sets) {
  CallOptions call = set.call;
  const CallOptions own = CallOptionsFrom(settings, sets);
  if (!settings.is_none()) call.settings = own.settings;
  call.sets.insert(call.sets.end(), own.sets.begin(), own.sets.end());
  return call;
}

std::optional<ViewTransform> SizeAndView(CommandArgs& args, const py::object& size, const py::object& view) {
  if (!size.is_none()) {
    const py::sequence s = py::reinterpret_borrow<py::sequence>(size);
    if (s.size() != 2) throw CorvaneError("size は (幅, 高さ) で指定してください");
    args.width = s[0].cast<int>();
    args.height = s[1].cast<int>();
    if (args.width < 1 || args.height < 1 || args.width > 20000 || args.height > 20000)
      throw CorvaneError("size は 幅, 高さ (1..20000) で指定してください: " + std::to_string(args.width) + ", " +
                         std::to_string(args.height));
  }
  if (py::isinstance<py::str>(view)) {
    args.view = view.cast<std::string>();
    if (args.view != "fit" && args.view != "settings")
      throw CorvaneError("view は \"fit\"、\"settings\" か、Picture.view の値にしてください: " + args.view);
    return std::nullopt;
  }
  if (view.is_none()) return std::nullopt;
  return ViewFromTuple(view);
}

void WithScene(DataSetHolder& set, const CommandArgs& args, const ProgramOptions& options,
               const std::optional<ViewTransform>& view, const std::function<void(SceneState&)>& work) {
  std::lock_guard<std::mutex> lock(set.lock);
  SceneState state;
  PrepareRenderState(args, options, state);
  LoadResult lent;
  lent.data = std::move(set.loaded.data);
  lent.view = set.loaded.view;
  lent.choices = set.loaded.choices;
  TakeLoadedData(state, lent, options);
  struct GiveBack {
    FieldDataSet& home;
    FieldDataSet& lent;
    ~GiveBack() { home = std::move(lent); }
  } giveBack{set.loaded.data, state.data};
  if (view) state.view = *view;
  else if (args.view == "fit") FitView(state);
  else if (options.display.ShowXYLabel) MakeRoomForAxes(state);
  work(state);
}

void BindPictures(py::module_& m) {
  py::class_<Picture, PicturePtr>(m, "Picture", py::buffer_protocol(),
                                  "A drawn picture: numpy.asarray(pic) is (height, width, 3) uint8 RGB.")
      .def_buffer([](Picture& p) {
        return py::buffer_info(const_cast<uchar*>(p.rgb.constBits()), 1, py::format_descriptor<std::uint8_t>::format(), 3,
                               {static_cast<py::ssize_t>(p.rgb.height()), static_cast<py::ssize_t>(p.rgb.width()), py::ssize_t{3}},
                               {static_cast<py::ssize_t>(p.rgb.bytesPerLine()), py::ssize_t{3}, py::ssize_t{1}}, true);
      })
      .def_property_readonly("width", [](const Picture& p) { return p.bitmap.width(); })
      .def_property_readonly("height", [](const Picture& p) { return p.bitmap.height(); })
      .def_property_readonly("view", [](const Picture& p) -> py::object {
        if (!p.view) return py::none();
        return ViewTuple(*p.view);
      }, "The view the scene was drawn with; render(..., view=pic.view) draws another data set the same way.")
      .def("save", &Save, py::arg("path"), "Writes the picture; BMP, JPEG, PNG, EMF, PDF or SVG by the extension.")
      .def("_repr_png_", &PngBytes)
      .def("__repr__", [](const Picture& p) {
        return "<corvane.Picture " + std::to_string(p.bitmap.width()) + "x" + std::to_string(p.bitmap.height()) + ">";
      });

  m.def("render", &Render, py::arg("data"), py::arg("size") = py::none(), py::arg("settings") = py::none(),
        py::arg("set") = py::none(), py::arg("view") = "fit", py::arg("seed") = py::none(),
        "Draws the data set as `corvane render` does: options from the settings file and `set` (the --set names) "
        "after those the data set was read with; view 'fit', 'settings' or another picture's view; seed of the "
        "label positions (1 unless given).");
  m.def("legend", &Legend, py::arg("data"), py::arg("settings") = py::none(), py::arg("set") = py::none(),
        "The colour-bar legend of the selected variable, as `corvane legend` draws it.");
}

}  // namespace corvane
