// Display switches of the main window that the scene renderer and its simple layers read, by
// control name.
#pragma once
#include <string>

#include "base/OptionTable.h"
#include "render/Canvas.h"
#include "render/NumberFormat.h"

namespace corvane {

struct DisplayOptions {
  bool WhiteBack = false;
  bool ShowGrid = false;
  bool GridForward = true;
  bool ShowVec = false;
  double arrowScale = 0.0000001;  // VecScaleBox: the factor from velocity to arrow length
  bool ShowXYLabel = false;
  bool XYSameScale = true;
  std::string XTitleBox = "x [m]";
  std::string YTitleBox = "y [m]";
  NumberFormat numberFormat;  // ShowExpCheck / ShowFixCheck / ShowAutoCheck, PrecisionBox, DigitsBox
  FontSpec axisFont;          // font of the sample label `example`
  int overlayCopies = 0;      // writetimes: copies drawn beside the data, 0..10
  double copyOffsetX = 0.0, copyOffsetY = 0.0;  // xoffsetbox, yoffsetbox: the shift of each copy
  bool ShowContour = true, BrushCheck = false, LineCheck = true, BMPModeCheck = true;
  bool ShowSegment = false, RealDrawSegment = false;
  bool DrawStreamLineCheck = false;
  bool UseOpenGL = false;
  bool SmoothCheck = false;     // anti-aliased picture (bands supersampled, lines anti-aliased)
  bool ColourBarCheck = false;  // colour bar beside the plot area
  bool MergeBandsCheck = false;  // vector bands as one path per band, not one polygon per triangle
  // Boundary check boxes Showi0, Showimax, Showj0, showjmax; they preset every zone's flags when
  // the zone count changes.
  bool edgeI0 = true, edgeIMax = true, edgeJ0 = true, edgeJMax = true;
  // View boxes (x0box, y0box, xscalebox, yscalebox) and the plot window's outer size.
  double x0box = 0.0, y0box = 0.0, xscalebox = 1.0, yscalebox = 1.0;
  int PictureWindowWidth = 293, PictureWindowHeight = 341;  // TViewForm.Width / TViewForm.Height
};

const OptionTable<DisplayOptions>& DisplayOptionTable();

}  // namespace corvane
