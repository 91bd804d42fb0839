#include "readers/TecplotReader.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <new>

#include "readers/AsciiCase.h"
#include "base/BothCores.h"
#include "field/CellAverage.h"
#include "readers/ColumnLayout.h"
#include "readers/DecimalNumber.h"
#include "base/Errors.h"
#include "readers/FortranNumber.h"
#include "readers/MappedFile.h"
#include "readers/StructuredLoad.h"
#include "readers/TecplotFile.h"

namespace corvane {
namespace {

// Values of one zone split between the two cores at a line break near the middle.
constexpr std::size_t kSplitBytes = std::size_t{1} << 20;

// The rows of x and y: the variables named so, else the first two.
std::pair<std::size_t, std::size_t> CoordinateRows(const std::vector<std::string>& names) {
  for (auto [x, y] : {std::pair{"X", "Y"}, std::pair{"COORDINATEX", "COORDINATEY"}}) {
    std::size_t ix = names.size(), iy = names.size();
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (ix == names.size() && AsciiUpper(names[k]) == x) ix = k;
      if (iy == names.size() && AsciiUpper(names[k]) == y) iy = k;
    }
    if (ix < names.size() && iy < names.size()) return {ix, iy};
  }
  return {0, 1};
}

std::size_t LineAt(std::string_view s, std::size_t at) {
  return 1 + static_cast<std::size_t>(std::count(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

// The values of a zone as the two cores read them: the first core's run, then the second's.
struct ValueStream {
  const std::vector<double>& a;
  const std::vector<double>& b;
  double operator[](std::int64_t m) const {
    const std::int64_t n = static_cast<std::int64_t>(a.size());
    return m < n ? a[static_cast<std::size_t>(m)] : b[static_cast<std::size_t>(m - n)];
  }
};

class ZoneLoader {
 public:
  ZoneLoader(std::string_view bytes, const TecplotFile& file, const std::string& path)
      : s_(bytes), file_(file), path_(path) {}

  // Writes every variable of zone `z` to out[v] (ni × nj values, j fastest). The variables a
  // later zone shares are kept.
  void Fill(std::size_t z, const std::vector<double*>& out) {
    const TecplotZone& zone = file_.zones[z];
    const std::int64_t n = zone.ni * zone.nj;
    for (std::size_t v = 0; v < zone.variables.size(); ++v) {
      const TecplotVariableSource& src = zone.variables[v];
      if (src.sharedFrom >= 0) {
        const std::vector<double>& from = Shared(static_cast<std::size_t>(src.sharedFrom), v);
        std::copy(from.begin(), from.end(), out[v]);
      } else if (src.passive) {
        std::fill(out[v], out[v] + n, 0.0);
      }
    }
    FillOwn(z, out);
  }

 private:
  [[noreturn]] void Fail(std::size_t z, const std::string& what) const {
    const TecplotZone& zone = file_.zones[z];
    throw CorvaneError("Tecplot ファイル " + path_ + " の " + ZoneLabel(z, zone.title) + " (" + std::to_string(zone.line) +
                       " 行目): " + what);
  }

  // Writes the variables zone `z` holds in the file to out[v] (the others' out[v] may be null)
  // and keeps those a later zone shares. The scan has followed every chain of sharing to the
  // zone that holds the values, so nothing here reads another zone.
  void FillOwn(std::size_t z, const std::vector<double*>& out) {
    const TecplotZone& zone = file_.zones[z];
    TecplotValueRun runs[2];
    Values(z, runs);
    const ValueStream values{runs[0].values, runs[1].values};
    const std::int64_t ni = zone.ni, nj = zone.nj, n = ni * nj;
    const std::size_t count = zone.variables.size();
    // Where each variable's values start (BLOCK) or its place among a node's values (POINT).
    std::vector<std::int64_t> first(count, 0);
    std::int64_t offset = 0, inFile = 0;
    for (std::size_t v = 0; v < count; ++v) {
      const TecplotVariableSource& src = zone.variables[v];
      if (src.passive || src.sharedFrom >= 0) continue;
      first[v] = zone.block ? offset : inFile;
      offset += src.cellCentred ? CellCount(ni, nj) : n;
      ++inFile;
    }
    // A second thread pays only for a zone of many values.
    const std::int64_t split = n * static_cast<std::int64_t>(count) >= (std::int64_t{1} << 16) ? 2 : std::numeric_limits<std::int64_t>::max();
    RunOnBothCores(static_cast<std::int64_t>(count), split, [&](std::int64_t a, std::int64_t b) {
      std::vector<double> cells;
      for (std::int64_t v = a; v < b; ++v) {
        const TecplotVariableSource& src = zone.variables[static_cast<std::size_t>(v)];
        if (src.passive || src.sharedFrom >= 0) continue;
        double* to = out[static_cast<std::size_t>(v)];
        const std::int64_t at = first[static_cast<std::size_t>(v)];
        if (src.cellCentred) {
          cells.resize(static_cast<std::size_t>(CellCount(ni, nj)));
          for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = values[at + static_cast<std::int64_t>(k)];
          AverageCellsToNodes(cells.data(), ni, nj, to);
          continue;
        }
        // The file has i fastest; the data set j fastest.
        const std::int64_t stride = zone.block ? 1 : inFile;
        for (std::int64_t j = 0; j < nj; ++j)
          for (std::int64_t i = 0; i < ni; ++i) to[i * nj + j] = values[at + (i + ni * j) * stride];
      }
    });
    for (std::size_t v = 0; v < count; ++v)
      if (zone.variables[v].sharedLater && !kept_.count({z, v})) kept_.emplace(std::pair{z, v}, std::vector<double>(out[v], out[v] + n));
  }

  // The values of variable `v` of zone `z`, which holds them in the file; read now when the
  // zone was not read before (a zone of another step).
  const std::vector<double>& Shared(std::size_t z, std::size_t v) {
    auto found = kept_.find({z, v});
    if (found != kept_.end()) return found->second;
    const TecplotZone& zone = file_.zones[z];
    const std::size_t n = static_cast<std::size_t>(zone.ni * zone.nj);
    std::vector<std::vector<double>> rows(zone.variables.size());
    std::vector<double*> out(zone.variables.size(), nullptr);
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const TecplotVariableSource& src = zone.variables[k];
      if (src.passive || src.sharedFrom >= 0) continue;
      rows[k].resize(n);
      out[k] = rows[k].data();
    }
    FillOwn(z, out);
    return kept_.at({z, v});
  }

  // Reads the zone's values, split at a line break near the middle between the two cores.
  void Values(std::size_t z, TecplotValueRun (&runs)[2]) {
    const TecplotZone& zone = file_.zones[z];
    const std::int64_t needed = zone.ValueCount();
    std::size_t split = zone.dataEnd;
    if (zone.dataEnd - zone.dataBegin >= kSplitBytes) {
      const std::size_t nl = s_.find('\n', zone.dataBegin + (zone.dataEnd - zone.dataBegin) / 2);
      if (nl != std::string_view::npos && nl < zone.dataEnd) split = nl + 1;
    }
    const std::size_t bounds[3] = {zone.dataBegin, split, zone.dataEnd};
    RunOnBothCores(split < zone.dataEnd ? 2 : 1, 2, [&](std::int64_t a, std::int64_t b) {
      for (std::int64_t k = a; k < b; ++k) ReadTecplotValues(s_, bounds[k], bounds[k + 1], needed, runs[k]);
    });
    for (const TecplotValueRun& run : runs) {
      if (run.badAt != std::string_view::npos) {
        std::size_t e = run.badAt;
        while (e < s_.size() && !IsValueSeparator(s_[e]) && e - run.badAt < 30) ++e;
        Fail(z, std::to_string(LineAt(s_, run.badAt)) + " 行目の " + std::string(s_.substr(run.badAt, e - run.badAt)) +
                    " は数ではありません");
      }
    }
    const std::int64_t found = static_cast<std::int64_t>(runs[0].values.size() + runs[1].values.size());
    if (runs[0].tooMany || runs[1].tooMany || found != needed)
      Fail(z, std::to_string(needed) + " 個の値が必要ですが、" +
                  (found > needed ? std::string("それより多くあります") : std::to_string(found) + " 個しかありません"));
  }

  std::string_view s_;
  const TecplotFile& file_;
  const std::string& path_;
  std::map<std::pair<std::size_t, std::size_t>, std::vector<double>> kept_;  // (zone, variable)
};

std::string PackingText(const TecplotFile& file) {
  std::string text = file.anyPoint && file.anyBlock ? "POINT, BLOCK" : file.anyBlock ? "BLOCK" : "POINT";
  return file.anyCellCentred ? text + ", セル中心の変数あり" : text;
}

}  // namespace

void ReadTecplotValues(std::string_view s, std::size_t begin, std::size_t end, std::int64_t limit, TecplotValueRun& run) {
  run.values.clear();
  end = std::min(end, s.size());
  const std::int64_t room = static_cast<std::int64_t>(end > begin ? (end - begin + 1) / 2 : 0);
  run.values.reserve(static_cast<std::size_t>(std::min(limit, room)));
  const char* base = s.data();
  // Lines that repeat one column layout, as solvers print them, are read by the shortcut of the
  // text reader; the first plain line of a kind teaches it, and failed lessons wait ever longer.
  static const bool layoutPossible = ColumnLayoutSupported();
  ColumnLayout layout;
  double fields[ColumnLayout::kMaxColumns];
  int hits = 0, backoff = 1, countdown = 0;
  std::size_t p = begin;
  bool lineStart = begin == 0 || base[begin - 1] == '\n' || base[begin - 1] == '\r';
  while (p < end) {
    if (lineStart && layout.columns && s.size() - p >= static_cast<std::size_t>(layout.readBytes) &&
        limit - static_cast<std::int64_t>(run.values.size()) >= layout.columns) {
      const std::size_t n = ReadLaidOutLine(layout, base + p, fields);
      if (n && p + n <= end) {
        run.values.insert(run.values.end(), fields, fields + layout.columns);
        p += n;
        ++hits;
        continue;
      }
      // A layout that served many lines is learnt again from the next plain line.
      if (hits < 16) countdown = backoff = std::min(backoff * 2, 4096);
      else backoff = 1;
      hits = 0;
      layout.columns = 0;
    }
    // One line (or the rest of one) the plain way.
    const std::size_t line = p;
    const std::size_t before = run.values.size();
    bool plain = lineStart;
    while (p < end && base[p] != '\n' && base[p] != '\r') {
      const char c = base[p];
      if (c == '#') {
        plain = false;
        while (p < end && base[p] != '\n' && base[p] != '\r') ++p;
        break;
      }
      if (IsValueSeparator(c)) {
        ++p;
        continue;
      }
      std::size_t q = p;
      while (q < end && !IsValueSeparator(base[q])) ++q;
      double v = 0.0;
      if (ReadPlainNumber(base + p, base + q, v) == base + q || ParseFortranNumber(s.substr(p, q - p), v)) {
        run.values.push_back(v);
      } else {
        // n*value: n copies of the value.
        plain = false;
        const std::string_view token = s.substr(p, q - p);
        const std::size_t star = token.find('*');
        std::int64_t n = 0;
        auto r = std::from_chars(token.data(), token.data() + (star == std::string_view::npos ? 0 : star), n);
        if (star == std::string_view::npos || r.ec != std::errc() || r.ptr != token.data() + star || n < 1 ||
            !ParseFortranNumber(token.substr(star + 1), v)) {
          run.badAt = p;
          return;
        }
        const std::int64_t left = limit - static_cast<std::int64_t>(run.values.size());
        run.values.insert(run.values.end(), static_cast<std::size_t>(std::min(n, left + 1)), v);
      }
      if (static_cast<std::int64_t>(run.values.size()) > limit) {
        run.tooMany = true;
        return;
      }
      p = q;
    }
    const int count = static_cast<int>(run.values.size() - before);
    if (layoutPossible && plain && p < end && count > 0 && count <= ColumnLayout::kMaxColumns && layout.columns == 0) {
      if (countdown > 0) --countdown;
      else if (!LearnColumnLayout(base + line, base + p, base + s.size(), count, layout)) countdown = backoff = std::min(backoff * 2, 4096);
    }
    // The break: CR LF, LF or CR.
    if (p < end && base[p] == '\r') ++p;
    if (p < end && base[p] == '\n') ++p;
    lineStart = true;
  }
}

// The whole file is looked through for the first ZONE: a long title, many variables or much
// auxiliary data may put it far down, and only a file that starts with a record keyword is
// looked at past its first line.
bool HasTecplotHeader(std::string_view bytes) { return LooksLikeTecplot(bytes); }

std::optional<FileContents> LoadTecplotFile(const std::string& path, const LoadOptions& options,
                                            Notifier& notifier, Progress& progress, int step) {
  const MappedFile mapped(path);
  return LoadTecplotFile(mapped, options, notifier, progress, step);
}

std::optional<FileContents> LoadTecplotFile(const MappedFile& mapped, const LoadOptions& /*options*/, Notifier& notifier,
                                            Progress& progress, int step) {
  const std::string& path = mapped.Path();
  try {
    progress.SetPosition(0);
    progress.SetStatus("データ読み込み中…");
    const std::string_view bytes = mapped.Bytes();
    const TecplotFile file = ScanTecplot(bytes, path);
    const std::vector<double> times = TecplotStepTimes(file);
    if (step < 0 || (step > 0 && static_cast<std::size_t>(step) >= times.size()))
      throw CorvaneError("Tecplot ファイル " + path + " に " + std::to_string(step + 1) + " 番目の時刻はありません (時刻は " +
                         std::to_string(times.size()) + " 個)");
    std::vector<std::size_t> chosen;
    for (std::size_t z = 0; z < file.zones.size(); ++z)
      if (file.zones[z].leftOut.empty() &&
          (times.size() <= 1 || !file.zones[z].time || *file.zones[z].time == times[static_cast<std::size_t>(step)]))
        chosen.push_back(z);

    const auto [xRow, yRow] = CoordinateRows(file.variables);
    std::vector<std::string> variables;
    for (std::size_t v = 0; v < file.variables.size(); ++v)
      if (v != xRow && v != yRow) variables.push_back(file.variables[v]);
    std::vector<ZoneSize> sizes;
    std::vector<std::string> names;
    SourceInfo source;
    source.format = DataFileFormat::Tecplot;
    source.title = file.title;
    source.layout = PackingText(file);
    source.auxData = file.auxData;
    source.times = times;
    source.step = step;
    for (std::size_t z : chosen) {
      const TecplotZone& zone = file.zones[z];
      sizes.push_back({zone.ni, zone.nj});
      names.push_back(zone.title);
      for (const auto& [name, value] : zone.auxData)
        source.auxData.emplace_back(ZoneLabel(names.size() - 1, zone.title) + " " + name, value);
      for (const TecplotVariableSource& v : zone.variables) source.cellCentred = source.cellCentred || v.cellCentred;
    }
    source.zoneNames = names;
    FieldDataSet data = NewFieldFrame(path, sizes, variables, names);

    ZoneLoader loader(bytes, file, path);
    progress.SetMaximum(static_cast<std::int64_t>(chosen.size()));
    for (std::size_t k = 0; k < chosen.size(); ++k) {
      if (progress.AbortRequested()) return std::nullopt;
      const std::size_t first = static_cast<std::size_t>(data.Zones[k].FirstNode);
      std::vector<double*> out;
      std::size_t row = 0;
      for (std::size_t v = 0; v < file.variables.size(); ++v)
        out.push_back((v == xRow ? data.X.data() : v == yRow ? data.Y.data() : data.Values[row++].data()) + first);
      loader.Fill(chosen[k], out);
      progress.SetPosition(static_cast<std::int64_t>(k + 1));
    }
    if (source.cellCentred) source.status = "セル中心の値を格子点の値へ平均しました";
    if (times.size() > 1) {
      char text[64];
      std::snprintf(text, sizeof text, "時刻 %g (%d / %zu)", times[static_cast<std::size_t>(step)], step + 1, times.size());
      source.status = source.status.empty() ? text : source.status + "、" + text;
    }
    // The zones passed over are named, so a picture with parts missing is never taken for whole.
    const std::string leftOut = TecplotLeftOutText(file);
    if (!leftOut.empty()) notifier.Warning("Tecplot ファイル " + path + " の一部の領域を読みませんでした。" + leftOut);
    return FinishRead(std::move(data), std::move(source), !variables.empty());
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
