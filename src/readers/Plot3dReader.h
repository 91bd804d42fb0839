// Reads a 2-D PLOT3D solution (NAME.q with its grid NAME.xyz, NAME.x or NAME.g beside it), or a
// grid alone, into a new data set.
#pragma once
#include <optional>
#include <string>

#include "readers/DataReader.h"

namespace corvane {

// True for the extensions of PLOT3D grids (.xyz, .x, .g) and solutions (.q), in any case.
bool IsPlot3dGridPath(const std::string& path);
bool IsPlot3dSolutionPath(const std::string& path);
// The grid beside a solution: the first of NAME.xyz, NAME.x, NAME.g that exists (lower case
// first, then upper case); empty when there is none.
std::string Plot3dGridBeside(const std::string& solutionPath);

// Loads `path` as LoadDataFile loads a text file. A solution gives the variables Density,
// MomentumX, MomentumY, EnergyStagnationDensity and, computed from them with gammaBox and RBox,
// U, V, T, P; a grid alone gives the nodes without variables. Every refusal throws CorvaneError
// naming the file (and the block).
std::optional<FileContents> LoadPlot3dFile(const std::string& path, const LoadOptions& options,
                                           Notifier& notifier, Progress& progress);
// The same for a file already opened: the solution, or a grid alone.
std::optional<FileContents> LoadPlot3dFile(const MappedFile& file, const LoadOptions& options,
                                           Notifier& notifier, Progress& progress);

}  // namespace corvane
