// What a load found out about its file besides the nodes: the format and, for the exchange
// formats, the names and header values a user may want to see (shown by `corvane info`).
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace corvane {

enum class DataFileFormat { Text, Cgns, Plot3d, Tecplot, Vtk };

// The four header values of a PLOT3D solution block: free-stream Mach number, angle of attack,
// Reynolds number and time.
struct FreeStream {
  double mach = 0.0, alpha = 0.0, re = 0.0, time = 0.0;
};

struct SourceInfo {
  DataFileFormat format = DataFileFormat::Text;
  // CGNS: the base read and the names of every base of the file; PLOT3D: empty.
  std::string baseName;
  std::vector<std::string> baseNames;
  std::vector<std::string> zoneNames;      // one per zone (CGNS zone names)
  std::string solutionName;                // CGNS: the FlowSolution read
  bool cellCentred = false;                // CGNS: values averaged from cells to nodes
  std::string gridPath;                    // PLOT3D: the grid file read
  std::string gridLayout, solutionLayout;  // PLOT3D: how the files were written, as detected
  std::vector<FreeStream> freeStream;      // PLOT3D: per block, when a solution was read
  std::string status;                      // one line for the status bar after the load
  std::string title;                       // Tecplot: TITLE
  std::string layout;                      // Tecplot, VTK: how the file was written, as found
  // Tecplot: DATASETAUXDATA and each zone's AUXDATA ("zone[z] name"), in file order.
  std::vector<std::pair<std::string, std::string>> auxData;
  // The solution times of the steps a file holds (Tecplot SOLUTIONTIME), ascending, and the step
  // read; empty when the file holds one step without a time.
  std::vector<double> times;
  int step = 0;
};

// "text", "cgns", "plot3d", "tecplot" or "vtk": the format's name in the table of formats.
const char* FormatName(DataFileFormat f);

}  // namespace corvane
