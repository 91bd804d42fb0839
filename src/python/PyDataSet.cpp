#include "python/PyDataSet.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cstring>

#include "fieldview/LoadedView.h"
#include "fieldview/ContourRanges.h"
#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "readers/StructuredLoad.h"
#include "field/VariableRows.h"
#include "python/PyNotifier.h"

namespace corvane {
namespace {

// What from_arrays names the data in its messages.
constexpr const char* kArraysName = "配列";

struct Zone {
  DataSet set;
  int index = 0;
};

// A read-only float64 view of `count` rows of nodes of one zone: shape (NJ, NI), i running
// fastest as in numpy's C order, over the data set's j-fastest storage (strides swapped). The
// array keeps the data set alive.
py::array ZoneView(const DataSet& set, const double* zoneFirst, const ZoneGrid& zone) {
  py::capsule owner(new DataSet(set), [](void* p) { delete static_cast<DataSet*>(p); });
  const auto nj = static_cast<py::ssize_t>(zone.NJ), ni = static_cast<py::ssize_t>(zone.NI);
  const py::ssize_t item = sizeof(double);
  py::array view(py::dtype::of<double>(), {nj, ni}, {item, nj * item}, zoneFirst, owner);
  view.attr("setflags")(py::arg("write") = false);
  return view;
}

const ZoneGrid& ZoneAt(const FieldDataSet& data, int index) {
  if (index < 0 || index >= data.ZoneCount)
    throw CorvaneError("領域番号は 0.." + std::to_string(data.ZoneCount - 1) + " です: " + std::to_string(index));
  return data.Zones[static_cast<std::size_t>(index)];
}

py::array RowView(const DataSet& set, const NodeRow& row, int zoneIndex) {
  const ZoneGrid& zone = ZoneAt(set->loaded.data, zoneIndex);
  return ZoneView(set, row.data() + zone.FirstNode, zone);
}

std::string ZoneName(const DataSetHolder& h, int zone) {
  const auto& names = h.loaded.source.zoneNames;
  return static_cast<std::size_t>(zone) < names.size() ? names[static_cast<std::size_t>(zone)] : std::string();
}

std::vector<std::string> VariableNames(const FieldDataSet& data) {
  std::vector<std::string> names;
  for (int row = 0; row < static_cast<int>(data.Values.size()); ++row) names.push_back(RowCaption(data, row).value_or(""));
  return names;
}

DataSet Read(const std::string& path, const py::object& settings, const py::object& sets, const py::object& formulas) {
  CallOptions call = CallOptionsFrom(settings, sets);
  if (!formulas.is_none())
    for (const py::handle f : formulas) call.sets.emplace_back("Formula", py::cast<std::string>(f));
  const ProgramOptions options = OptionsOf(call);
  auto set = std::make_shared<DataSetHolder>();
  set->path = path;
  set->call = call;
  set->includeVelocity = options.load.IncludeVelCheck;
  CollectingNotifier notifier;
  {
    py::gil_scoped_release unlocked;
    NullProgress progress;
    std::optional<LoadResult> loaded = LoadAnyDataFile(path, options.load, FieldView{}, notifier, progress);
    if (!loaded) throw CorvaneError(notifier.Joined(path + " を読み込めませんでした"));
    set->loaded = std::move(*loaded);
  }
  notifier.WarnInPython();
  return set;
}

// Copies a (nj, ni) array of any layout into the j-fastest nodes starting at `out`. Columns are
// taken sixteen at a time so that a C-ordered array is read a row piece (two cache lines) at a
// time instead of one value per row stride.
template <class T>
void CopyTransposed(const py::array& a, double* out, py::ssize_t nj, py::ssize_t ni) {
  const auto* base = static_cast<const char*>(a.data());
  const py::ssize_t sj = a.strides(0), si = a.strides(1);
  constexpr py::ssize_t kColumns = 16;
  for (py::ssize_t i0 = 0; i0 < ni; i0 += kColumns) {
    const py::ssize_t i1 = std::min(ni, i0 + kColumns);
    for (py::ssize_t j = 0; j < nj; ++j) {
      const char* row = base + j * sj;
      for (py::ssize_t i = i0; i < i1; ++i) {
        T v;
        std::memcpy(&v, row + i * si, sizeof v);
        out[i * nj + j] = static_cast<double>(v);
      }
    }
  }
}

// A zone entry as an array: float32 and float64 are read where they lie; other numbers (integers,
// float16, long double) are converted to float64 first.
py::array NumericArray(const py::handle& value, const std::string& key, std::size_t zone) {
  py::array a = py::array::ensure(value);
  if (!a || a.dtype().kind() == 'O' || a.dtype().kind() == 'U' || a.dtype().kind() == 'S' ||
      a.dtype().kind() == 'c' || a.dtype().kind() == 'b')
    throw CorvaneError(std::string(kArraysName) + " zone[" + std::to_string(zone) + "] の " + key +
                       " は実数の配列ではありません");
  if (!a.dtype().is(py::dtype::of<double>()) && !a.dtype().is(py::dtype::of<float>()))
    a = py::array_t<double, py::array::forcecast>::ensure(a);
  if (a.ndim() != 2)
    throw CorvaneError(std::string(kArraysName) + " zone[" + std::to_string(zone) + "] の " + key + " は (nj, ni) の二次元配列にしてください");
  return a;
}

struct ZoneArrays {
  std::string name;
  py::ssize_t nj = 0, ni = 0;
  std::vector<std::pair<std::string, py::array>> entries;  // x, y, then the variables in order
};

ZoneArrays ZoneArraysFrom(const py::handle& item, std::size_t z) {
  const std::string where = std::string(kArraysName) + " zone[" + std::to_string(z) + "]";
  if (!py::isinstance<py::dict>(item)) throw CorvaneError(where + " は {\"x\": X, \"y\": Y, 名前: 配列, ...} の辞書にしてください");
  const py::dict d = py::reinterpret_borrow<py::dict>(item);
  ZoneArrays zone;
  if (!d.contains("x") || !d.contains("y")) throw CorvaneError(where + " に x と y の両方が必要です");
  zone.entries.emplace_back("x", NumericArray(d["x"], "x", z));
  zone.entries.emplace_back("y", NumericArray(d["y"], "y", z));
  for (const auto& [k, v] : d) {
    const std::string key = py::cast<std::string>(py::str(k));
    if (key == "x" || key == "y") continue;
    if (key == "name" && py::isinstance<py::str>(v)) {
      zone.name = py::cast<std::string>(v);
      continue;
    }
    zone.entries.emplace_back(key, NumericArray(v, key, z));
  }
  zone.nj = zone.entries[0].second.shape(0);
  zone.ni = zone.entries[0].second.shape(1);
  for (const auto& [key, a] : zone.entries)
    if (a.shape(0) != zone.nj || a.shape(1) != zone.ni)
      throw CorvaneError(where + " の " + key + " の形 (" + std::to_string(a.shape(0)) + ", " + std::to_string(a.shape(1)) +
                         ") が x の形 (" + std::to_string(zone.nj) + ", " + std::to_string(zone.ni) + ") と違います");
  if (zone.ni < 2 || zone.nj < 2)
    throw CorvaneError(where + " の格子点数 (nj " + std::to_string(zone.nj) + ", ni " + std::to_string(zone.ni) +
                       ") では描けません。各方向とも2点以上が必要です");
  return zone;
}

DataSet FromArrays(const py::iterable& zonesIn, const py::object& settings, const py::object& sets, const py::object& formulas) {
  CallOptions call = CallOptionsFrom(settings, sets);
  if (!formulas.is_none())
    for (const py::handle f : formulas) call.sets.emplace_back("Formula", py::cast<std::string>(f));
  const ProgramOptions options = OptionsOf(call);
  std::vector<ZoneArrays> zones;
  for (const py::handle item : zonesIn) zones.push_back(ZoneArraysFrom(item, zones.size()));
  if (zones.empty()) throw CorvaneError(std::string(kArraysName) + " に領域がありません");
  std::vector<std::string> variables;
  for (std::size_t k = 2; k < zones[0].entries.size(); ++k) variables.push_back(zones[0].entries[k].first);
  std::vector<ZoneSize> sizes;
  std::vector<std::string> names;
  for (std::size_t z = 0; z < zones.size(); ++z) {
    std::vector<std::string> own;
    for (std::size_t k = 2; k < zones[z].entries.size(); ++k) own.push_back(zones[z].entries[k].first);
    if (own != variables)
      throw CorvaneError(std::string(kArraysName) + " zone[" + std::to_string(z) + "] の変数が zone[0] と同じ名前、同じ順ではありません");
    sizes.push_back({zones[z].ni, zones[z].nj});
    names.push_back(zones[z].name);
  }
  const bool named = std::any_of(names.begin(), names.end(), [](const std::string& n) { return !n.empty(); });

  auto set = std::make_shared<DataSetHolder>();
  set->call = call;
  set->includeVelocity = options.load.IncludeVelCheck;
  CollectingNotifier notifier;
  {
    py::gil_scoped_release unlocked;
    FieldDataSet data = NewFieldFrame(kArraysName, sizes, variables, named ? names : std::vector<std::string>());
    for (std::size_t z = 0; z < zones.size(); ++z) {
      const ZoneGrid& g = data.Zones[z];
      for (std::size_t k = 0; k < zones[z].entries.size(); ++k) {
        NodeRow& row = k == 0 ? data.X : (k == 1 ? data.Y : data.Values[k - 2]);
        const py::array& a = zones[z].entries[k].second;
        double* out = row.data() + g.FirstNode;
        if (a.dtype().is(py::dtype::of<float>())) CopyTransposed<float>(a, out, zones[z].nj, zones[z].ni);
        else CopyTransposed<double>(a, out, zones[z].nj, zones[z].ni);
      }
    }
    SourceInfo source;
    if (named) source.zoneNames = names;
    set->loaded =
        CompleteLoad(FinishRead(std::move(data), std::move(source), !variables.empty()), options.load, FieldView{}, notifier);
  }
  notifier.WarnInPython();
  return set;
}

}  // namespace

CallOptions CallOptionsFrom(const py::object& settings, const py::object& sets) {
  CallOptions call;
  if (!settings.is_none()) call.settings = py::cast<std::string>(py::str(settings));
  if (sets.is_none()) return call;
  auto text = [](const py::handle& v) -> std::string {
    if (py::isinstance<py::bool_>(v)) return v.cast<bool>() ? "true" : "false";
    if (py::isinstance<py::float_>(v)) return py::cast<std::string>(py::repr(v));
    return py::cast<std::string>(py::str(v));
  };
  if (py::isinstance<py::dict>(sets)) {
    for (const auto& [k, v] : py::reinterpret_borrow<py::dict>(sets)) call.sets.emplace_back(text(k), text(v));
  } else {
    for (const py::handle pair : sets) {
      if (py::isinstance<py::str>(pair)) {
        const std::string s = py::cast<std::string>(pair);
        const auto eq = s.find('=');
        if (eq == std::string::npos || eq == 0) throw CorvaneError("--set は NAME=VALUE の形で指定してください: " + s);
        call.sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
      } else {
        const py::sequence p = py::reinterpret_borrow<py::sequence>(pair);
        if (p.size() != 2) throw CorvaneError("set の各項目は (名前, 値) の組にしてください");
        call.sets.emplace_back(text(p[0]), text(p[1]));
      }
    }
  }
  return call;
}

CommandArgs ArgsOf(const CallOptions& call) {
  CommandArgs args;
  args.settingsPath = call.settings;
  args.sets = call.sets;
  return args;
}

ProgramOptions OptionsOf(const CallOptions& call, std::vector<std::pair<std::string, std::string>>* other) {
  return BuildOptions(ArgsOf(call), other);
}

int RowOf(const FieldDataSet& data, const py::object& which) {
  const int rows = static_cast<int>(data.Values.size());
  if (py::isinstance<py::int_>(which)) {
    const long long k = which.cast<long long>();
    if (k < 0 || k >= rows) throw CorvaneError("変数番号は 0.." + std::to_string(rows - 1) + " です: " + std::to_string(k));
    return static_cast<int>(k);
  }
  const std::string name = py::cast<std::string>(py::str(which));
  const int row = FindRow(data, name);
  if (row >= 0) return row;
  std::string known;
  for (const std::string& n : VariableNames(data)) known += (known.empty() ? "" : ", ") + n;
  throw CorvaneError("変数 " + name + " はありません（あるのは " + known + "）");
}

void BindDataSet(py::module_& m) {
  py::class_<Zone>(m, "Zone", "One zone of a data set: its size, name and coordinates (read-only views, shape (nj, ni)).")
      .def_property_readonly("ni", [](const Zone& z) {
        std::lock_guard<std::mutex> l(z.set->lock);
        return ZoneAt(z.set->loaded.data, z.index).NI;
      })
      .def_property_readonly("nj", [](const Zone& z) {
        std::lock_guard<std::mutex> l(z.set->lock);
        return ZoneAt(z.set->loaded.data, z.index).NJ;
      })
      .def_property_readonly("name", [](const Zone& z) { return ZoneName(*z.set, z.index); })
      .def_property_readonly("x", [](const Zone& z) {
        std::lock_guard<std::mutex> l(z.set->lock);
        return RowView(z.set, z.set->loaded.data.X, z.index);
      })
      .def_property_readonly("y", [](const Zone& z) {
        std::lock_guard<std::mutex> l(z.set->lock);
        return RowView(z.set, z.set->loaded.data.Y, z.index);
      })
      .def("__repr__", [](const Zone& z) {
        std::lock_guard<std::mutex> l(z.set->lock);
        const ZoneGrid& g = ZoneAt(z.set->loaded.data, z.index);
        return "<corvane.Zone " + std::to_string(z.index) + " ni=" + std::to_string(g.NI) + " nj=" + std::to_string(g.NJ) + ">";
      });

  py::class_<DataSetHolder, DataSet>(m, "DataSet", "A loaded data set: zones of structured nodes and their variables.")
      .def_property_readonly("path", [](const DataSet& s) { return s->path; })
      .def_property_readonly("zones", [](const DataSet& s) {
        std::lock_guard<std::mutex> l(s->lock);
        std::vector<Zone> zones;
        for (int k = 0; k < s->loaded.data.ZoneCount; ++k) zones.push_back({s, k});
        return zones;
      })
      .def_property_readonly("variables", [](const DataSet& s) {
        std::lock_guard<std::mutex> l(s->lock);
        return VariableNames(s->loaded.data);
      })
      .def(
          "values",
          [](const DataSet& s, const py::object& which, int zone) {
            std::lock_guard<std::mutex> l(s->lock);
            const int row = RowOf(s->loaded.data, which);
            EnsureRowValues(s->loaded.data, row);
            return RowView(s, s->loaded.data.Values[static_cast<std::size_t>(row)], zone);
          },
          py::arg("variable"), py::arg("zone") = 0,
          "The values of a variable (name or index) in one zone: a read-only view, shape (nj, ni).")
      .def("info", [](const DataSet& s) {
        std::string text;
        {
          std::lock_guard<std::mutex> l(s->lock);
          // As the command line's info: every row's range, the derived rows' too.
          EnsureAllRows(s->loaded.data);
          TakeComputedRanges(s->loaded.data, s->loaded.view, OptionsOf(s->call).load);
          std::optional<std::array<DerivedColumn, 4>> derived;
          const LoadResult& r = s->loaded;
          if (s->includeVelocity) derived = DerivedColumnsOf(r.choices.names, r.choices.Rows());
          text = InfoJsonHead(s->path, r, s->includeVelocity, derived) + "}";
        }
        return py::module_::import("json").attr("loads")(text);
      }, "What `corvane info --json` tells about the data set, as a dict.")
      .def("__repr__", [](const DataSet& s) {
        std::lock_guard<std::mutex> l(s->lock);
        return "<corvane.DataSet " + (s->path.empty() ? std::string("(arrays)") : s->path) + ": " +
               std::to_string(s->loaded.data.ZoneCount) + " zones, " + std::to_string(s->loaded.data.NodeCount) + " nodes>";
      });

  m.def("read", &Read, py::arg("path"), py::arg("settings") = py::none(), py::arg("set") = py::none(),
        py::arg("formulas") = py::none(),
        "Reads a data file of any format the program reads. `settings` is a settings file (as --settings), "
        "`set` a dict or (name, value) pairs (as --set), `formulas` formula variables (as --formula).");
  m.def("from_arrays", &FromArrays, py::arg("zones"), py::arg("settings") = py::none(), py::arg("set") = py::none(),
        py::arg("formulas") = py::none(),
        "A data set from numpy arrays: a list of dicts, one per zone, {'x': X, 'y': Y, 'NAME': A, ...}, "
        "every array of shape (nj, ni) with i running fastest; the other entries are the variables in order.");
}

}  // namespace corvane
