// Options of the data tab (layout of the text file, velocity columns, gas constants) and of the
// contour range group, by control name.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/OptionTable.h"

namespace corvane {

enum class Separator { Spaces, Commas, Tabs };
enum class LoopOrder { IJ, JI };

struct LoadOptions {
  int ZCountBox = 3;         // number of zones, 0..100
  int XYNumLineBox = 2;      // 0-based line of zone 0's size line
  int LabelLineBox = 5;      // 0-based label line
  int DataStartLineBox = 6;  // 0-based first data line
  Separator separator = Separator::Spaces;  // DataSSV / DataCSV / DataTSV
  LoopOrder loopOrder = LoopOrder::IJ;      // DataIJ / DataJI
  bool IncludeVelCheck = false;
  // Selected rows of the velocity, temperature and pressure selectors; -1 keeps the reader's
  // preselection (the columns named U, V, T, P).
  int xvecbox = -1, yvecbox = -1, tmpbox = -1, prsBox = -1;
  double gammaBox = 1.4;
  double RBox = 288.7;
  bool AutoMaxMinCheck = true;
  bool AutoStepCheck = true;
  int StepBar = 50;  // divisions of the range, 2..100
  bool RoundLevelsCheck = false;  // automatic range and step on round numbers
  int ICompress2 = 1, JCompress2 = 1;  // line-mask compression steps, 1..10
  // Variables from formulas ("Cp = (P - 101325) / 1e4"), added after every load in this order.
  // "Formula" appends one; an empty value clears the list.
  std::vector<std::string> formulas;
  // Not controls: how the data lines are read, on how many threads (1 or 2) and in windows of
  // how many bytes of the file. Tests and measurements vary them; the values do not change.
  int readThreads = 2;
  std::size_t readWindow = std::size_t{1} << 20;
};

const OptionTable<LoadOptions>& LoadOptionTable();

}  // namespace corvane
