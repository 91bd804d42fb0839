#include "data/TecplotReader.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <new>

#include "data/BothCores.h"
#include "data/CellAverage.h"
#include "data/DecimalNumber.h"
#include "data/Errors.h"
#include "data/FortranNumber.h"
#include "data/MappedFile.h"
#include "data/StructuredLoad.h"
#include "data/TecplotFile.h"

namespace corvane {
namespace {

// Values of one zone split between the two cores at a line break near the middle.
constexpr std::size_t kSplitBytes = std::size_t{1} << 20;

std::string Upper(std::string s) {
  for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return s;
}

// The rows of x and y: the variables named so, else the first two.
std::pair<std::size_t, std::size_t> CoordinateRows(const std::vector<std::string>& names) {
  for (auto [x, y] : {std::pair{"X", "Y"}, std::pair{"COORDINATEX", "COORDINATEY"}}) {
    std::size_t ix = names.size(), iy = names.size();
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (ix == names.size() && Upper(names[k]) == x) ix = k;
      if (iy == names.size() && Upper(names[k]) == y) iy = k;
    }
    if (ix < names.size() && iy < names.size()) return {ix, iy};
  }
  return {0, 1};
}

// The distinct solution times of the file, ascending.
std::vector<double> StepTimes(const TecplotFile& file) {
  std::vector<double> times;
  for (const TecplotZone& z : file.zones)
    if (z.time) times.push_back(*z.time);
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

std::size_t LineAt(std::string_view s, std::size_t at) {
  return 1 + static_cast<std::size_t>(std::count(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

using ZoneNodes = std::vector<std::vector<double>>;  // per variable, j fastest

class ZoneLoader {
 public:
  ZoneLoader(std::string_view bytes, const TecplotFile& file, const std::string& path)
      : s_(bytes), file_(file), path_(path) {}

  // The node values of every variable of zone `z` (read once, kept for zones sharing them).
  const ZoneNodes& Nodes(std::size_t z) {
    auto found = cache_.find(z);
    if (found != cache_.end()) return found->second;
    ZoneNodes nodes = Read(z);
    return cache_.emplace(z, std::move(nodes)).first->second;
  }
  void Forget(std::size_t z) { cache_.erase(z); }

 private:
  [[noreturn]] void Fail(std::size_t z, const std::string& what) const {
    const TecplotZone& zone = file_.zones[z];
    throw CorvaneError("Tecplot ファイル " + path_ + " の " + ZoneLabel(z, zone.title) + " (" + std::to_string(zone.line) +
                       " 行目): " + what);
  }

  std::vector<double> Values(std::size_t z) {
    const TecplotZone& zone = file_.zones[z];
    const std::int64_t needed = zone.ValueCount();
    std::size_t split = zone.dataBegin;
    if (zone.dataEnd - zone.dataBegin >= kSplitBytes) {
      const std::size_t nl = s_.find('\n', zone.dataBegin + (zone.dataEnd - zone.dataBegin) / 2);
      if (nl != std::string_view::npos && nl < zone.dataEnd) split = nl + 1;
    }
    TecplotValueRun runs[2];
    const std::size_t bounds[3] = {zone.dataBegin, split, zone.dataEnd};
    RunOnBothCores(split > zone.dataBegin ? 2 : 1, 2, [&](std::int64_t a, std::int64_t b) {
      for (std::int64_t k = a; k < b; ++k) {
        const std::size_t from = split > zone.dataBegin ? bounds[k] : zone.dataBegin;
        const std::size_t to = split > zone.dataBegin ? bounds[k + 1] : zone.dataEnd;
        ReadTecplotValues(s_, from, to, needed, runs[k]);
      }
    });
    for (const TecplotValueRun& run : runs) {
      if (run.badAt != std::string_view::npos) {
        std::size_t e = run.badAt;
        while (e < s_.size() && !IsValueSeparator(s_[e]) && e - run.badAt < 30) ++e;
        Fail(z, std::to_string(LineAt(s_, run.badAt)) + " 行目の " + std::string(s_.substr(run.badAt, e - run.badAt)) +
                    " は数ではありません");
      }
    }
    std::vector<double> values = std::move(runs[0].values);
    values.insert(values.end(), runs[1].values.begin(), runs[1].values.end());
    if (runs[0].tooMany || runs[1].tooMany || static_cast<std::int64_t>(values.size()) != needed)
      Fail(z, std::to_string(needed) + " 個の値が必要ですが、" +
                  (static_cast<std::int64_t>(values.size()) > needed ? std::string("それより多くあります")
                                                                      : std::to_string(values.size()) + " 個しかありません"));
    return values;
  }

  ZoneNodes Read(std::size_t z) {
    const TecplotZone& zone = file_.zones[z];
    const std::vector<double> values = Values(z);
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
    ZoneNodes nodes(count);
    for (std::size_t v = 0; v < count; ++v) {
      const TecplotVariableSource& src = zone.variables[v];
      if (src.sharedFrom >= 0) {
        nodes[v] = Nodes(static_cast<std::size_t>(src.sharedFrom))[v];
        continue;
      }
      nodes[v].assign(static_cast<std::size_t>(n), 0.0);
    }
    RunOnBothCores(static_cast<std::int64_t>(count), 2, [&](std::int64_t a, std::int64_t b) {
      for (std::int64_t v = a; v < b; ++v) {
        const TecplotVariableSource& src = zone.variables[static_cast<std::size_t>(v)];
        if (src.passive || src.sharedFrom >= 0) continue;
        double* out = nodes[static_cast<std::size_t>(v)].data();
        const double* in = values.data() + first[static_cast<std::size_t>(v)];
        if (src.cellCentred) {
          AverageCellsToNodes(in, ni, nj, out);
          continue;
        }
        // The file has i fastest; the data set j fastest.
        const std::int64_t stride = zone.block ? 1 : inFile;
        for (std::int64_t j = 0; j < nj; ++j)
          for (std::int64_t i = 0; i < ni; ++i) out[i * nj + j] = in[(i + ni * j) * stride];
      }
    });
    return nodes;
  }

  std::string_view s_;
  const TecplotFile& file_;
  const std::string& path_;
  std::map<std::size_t, ZoneNodes> cache_;
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
  std::size_t p = begin;
  while (p < end) {
    const char c = base[p];
    if (c == '#') {
      while (p < end && base[p] != '\n') ++p;
      continue;
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
}

bool HasTecplotHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string head(65536, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return LooksLikeTecplot(head);
}

std::optional<LoadResult> LoadTecplotFile(const std::string& path, const LoadOptions& options,
                                          const FieldDataSet& previous, int previousZoneListCount,
                                          Notifier& notifier, Progress& progress, int step) {
  try {
    progress.SetPosition(0);
    progress.SetStatus("データ読み込み中…");
    progress.Pump();
    MappedFile mapped(path);
    const std::string_view bytes = mapped.Bytes();
    const TecplotFile file = ScanTecplot(bytes, path);
    const std::vector<double> times = StepTimes(file);
    if (step < 0 || (step > 0 && static_cast<std::size_t>(step) >= times.size()))
      throw CorvaneError("Tecplot ファイル " + path + " に " + std::to_string(step + 1) + " 番目の時刻はありません (時刻は " +
                         std::to_string(times.size()) + " 個)");
    std::vector<std::size_t> chosen;
    for (std::size_t z = 0; z < file.zones.size(); ++z)
      if (times.size() <= 1 || !file.zones[z].time || *file.zones[z].time == times[static_cast<std::size_t>(step)])
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
      const ZoneNodes& nodes = loader.Nodes(chosen[k]);
      const ZoneGrid& grid = data.Zones[k];
      const std::size_t first = static_cast<std::size_t>(grid.FirstNode);
      std::size_t row = 0;
      for (std::size_t v = 0; v < nodes.size(); ++v) {
        double* to = v == xRow ? data.X.data() : v == yRow ? data.Y.data() : data.Values[row++].data();
        std::copy(nodes[v].begin(), nodes[v].end(), to + first);
      }
      // Zones later in the file may share this one's variables; the others are not kept.
      bool shared = false;
      for (std::size_t later = chosen[k] + 1; later < file.zones.size(); ++later)
        for (const TecplotVariableSource& v : file.zones[later].variables) shared = shared || v.sharedFrom == static_cast<int>(chosen[k]);
      if (!shared) loader.Forget(chosen[k]);
      progress.SetPosition(static_cast<std::int64_t>(k + 1));
      progress.Pump();
    }
    if (source.cellCentred) source.status = "セル中心の値を格子点の値へ平均しました";
    if (times.size() > 1) {
      char text[64];
      std::snprintf(text, sizeof text, "時刻 %g (%d / %zu)", times[static_cast<std::size_t>(step)], step + 1, times.size());
      source.status = source.status.empty() ? text : source.status + "、" + text;
    }
    return FinishLoad(std::move(data), std::move(source), options, previous, previousZoneListCount, notifier, !variables.empty());
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
