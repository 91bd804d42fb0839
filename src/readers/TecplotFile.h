// The structure of a Tecplot ASCII file: its title, variables, auxiliary data and ordered zones,
// with where each zone's values lie. The values themselves are read by TecplotReader.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

// Where a zone's variable comes from: the file's values, nowhere (a passive variable, zero) or
// another zone (a shared variable, copied from that zone's same variable). A chain of sharing
// is followed when the file is scanned: `sharedFrom` is the zone whose values hold it.
struct TecplotVariableSource {
  bool cellCentred = false;
  bool passive = false;
  int sharedFrom = -1;  // 0-based zone, or -1
  bool sharedLater = false;  // a later zone copies this variable's values from this zone
};

struct TecplotZone {
  std::string title;
  std::int64_t ni = 1, nj = 1;
  bool block = false;  // BLOCK packing (each variable in turn); else POINT (each node in turn)
  std::vector<TecplotVariableSource> variables;
  std::optional<double> time;
  int strand = -1;
  std::vector<std::pair<std::string, std::string>> auxData;
  std::size_t line = 0;  // 1-based line of the ZONE record
  std::size_t dataBegin = 0, dataEnd = 0;  // the bytes of the values
  // Why the zone is not read (a finite-element or 3-D zone, one without values of its own);
  // empty for a zone that is read.
  std::string leftOut;
  // Number of values the zone holds in the file.
  std::int64_t ValueCount() const;
};

struct TecplotFile {
  std::string title;
  std::vector<std::string> variables;  // UTF-8
  std::vector<std::pair<std::string, std::string>> auxData;
  std::vector<TecplotZone> zones;
  bool anyBlock = false, anyPoint = false, anyCellCentred = false;
};

// Whether the beginning of a file reads as a Tecplot ASCII file: after blank and comment lines it
// starts with a record keyword (TITLE, VARIABLES, FILETYPE, ZONE, DATASETAUXDATA) and a ZONE
// record follows within `head`.
bool LooksLikeTecplot(std::string_view head);

// Reads the records of the whole file and finds each zone's values; checks every zone's sizes
// against the bytes its values take before anyone allocates for them. Zones that are not
// ordered, have K > 1 or hold no values of their own are kept with the reason in `leftOut`; a
// file with no zone to read is refused. Throws CorvaneError naming `path`.
TecplotFile ScanTecplot(std::string_view bytes, const std::string& path);

// The distinct solution times of the zones that are read, ascending.
std::vector<double> TecplotStepTimes(const TecplotFile& file);

// The zones left out, each with its reason, in one text for a warning (the first few named,
// the rest counted); empty when every zone is read.
std::string TecplotLeftOutText(const TecplotFile& file);

}  // namespace corvane
