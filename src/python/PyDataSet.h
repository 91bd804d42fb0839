// The data set as the Python module holds it: a completed load (nodes, view, variable lists and
// what the file told) with the options it was read with. Python objects share it; the numpy
// arrays handed out view its rows.
#pragma once
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "readers/DataReader.h"
#include "fieldview/LoadedView.h"
#include "scene/SceneRenderer.h"

namespace corvane {

namespace py = pybind11;

// --settings and --set as a call gives them: the settings file (None: the program's crv.ini)
// and the assignments, a dict or a list of (name, value) pairs, values as the option texts.
struct CallOptions {
  std::string settings;
  std::vector<std::pair<std::string, std::string>> sets;
};

struct DataSetHolder {
  std::string path;  // the file read ("" for arrays)
  LoadResult loaded;
  CallOptions call;  // what it was read with; drawing starts from the same
  bool includeVelocity = false;  // read with velocity columns: info names the derived rows' columns
  // Drawing borrows the nodes (moved into the scene and back, never copied), so every access
  // to `loaded` takes this lock; it is never held while waiting for the interpreter.
  std::mutex lock;
};
using DataSet = std::shared_ptr<DataSetHolder>;

// The call's options from Python arguments; `sets` may be None, a dict or pairs.
CallOptions CallOptionsFrom(const py::object& settings, const py::object& sets);
// The program options of `call` as the command line builds them (BuildOptions); `other`
// receives the qualified names of other windows.
ProgramOptions OptionsOf(const CallOptions& call, std::vector<std::pair<std::string, std::string>>* other = nullptr);
// The command-line arguments `call` stands for.
CommandArgs ArgsOf(const CallOptions& call);

// Runs `work` on a scene set up as `corvane render` sets it up for `args` (size, view, seed)
// and `options`, fitted unless `view` is given, holding the data set's nodes: lent under its
// lock, not copied, and given back however `work` ends. Call with the interpreter released.
void WithScene(DataSetHolder& set, const CommandArgs& args, const ProgramOptions& options,
               const std::optional<ViewTransform>& view, const std::function<void(SceneState&)>& work);
// The data set's options, then the call's: its settings file instead, its assignments after.
CallOptions Combined(const DataSetHolder& set, const py::object& settings, const py::object& sets);
// `args` with the picture size of `size` ((w, h) or None) and `view` ("fit", "settings" or a
// Picture.view); the view to draw with when one was given.
std::optional<ViewTransform> SizeAndView(CommandArgs& args, const py::object& size, const py::object& view);

// The row of `which`: a variable's name as DataSet.variables gives it, or its index. Throws
// CorvaneError naming the variables there are.
int RowOf(const FieldDataSet& data, const py::object& which);

// Registers DataSet, Zone, read and from_arrays.
void BindDataSet(py::module_& m);
// Registers Picture, render and legend.
void BindPictures(py::module_& m);
// Registers contour_lines, streamlines, profile and sample.
void BindGeometry(py::module_& m);

}  // namespace corvane
