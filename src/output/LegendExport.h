// Saving the colour-bar legend as a picture file.
#pragma once
#include <string>

#include "contour/Legend.h"
#include "base/Notifier.h"

namespace corvane {

// Saves the legend by the extension of `path` (.bmp, .emf, .jpg, .png, .pdf, .svg in any case):
// the vector picture as EMF, PDF or SVG, its bitmap otherwise. Any other extension writes nothing, tells `notifier`
// and gives false; a file that cannot be written throws CorvaneError naming it.
bool SaveLegendPicture(const std::string& path, const LegendOptions& options, const LegendInput& input,
                       Notifier& notifier);

}  // namespace corvane
