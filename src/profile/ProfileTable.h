// Profiles of loaded data sets as named columns: the extracted line of one data set with its
// label, the CSV text of several, and the plot of chosen variables against s, x or y.
#pragma once
#include <string>
#include <vector>

#include "field/FieldDataSet.h"
#include "profile/ProfileLine.h"
#include "profile/ProfilePlot.h"

namespace corvane {

// Which line: grid-line pieces joined in order, or the segment P1-P2.
struct LineChoice {
  bool segment = false;
  std::vector<LinePiece> pieces;
  WorldPoint p1, p2;
  std::string Text() const;  // "0:j=0,1:j=0" or "線分 (x1, y1)-(x2, y2)"
};

// One line of one data set: its label (file and line), the values and the caption of each row.
struct ProfileSet {
  std::string label;
  Profile profile;
  std::vector<std::string> rowNames;  // caption of profile.rows[r]
};

ProfileSet MakeProfileSet(const FieldDataSet& data, const LineChoice& line, const std::string& label);

// The column of variable `name`, or s, x, y. Throws CorvaneError naming the variable and the
// names there are.
const std::vector<double>& ProfileColumn(const ProfileSet& set, const std::string& name);
// The same, or nullptr when the set has no such column.
const std::vector<double>* FindProfileColumn(const ProfileSet& set, const std::string& name);

// "curve,s,x,y,NAME..." then one line per point of every set in order; curve is the set's number
// from 1. An empty `variables` writes every row. Numbers with 17 significant digits (they read
// back to the same double); NaN as "nan", also for a variable a set does not have. Lines end with LF; UTF-8.
std::string ProfileCsvText(const std::vector<ProfileSet>& sets, std::vector<std::string> variables);
// Writes the text whole or not at all; throws CorvaneError naming the file.
void WriteTextFile(const std::string& path, const std::string& text);

// One curve per set and variable, against `axis`; labels name the set and, with several
// variables, the variable. Titles: the axis name and the variable names; the second variable
// is read on the right-hand axis.
PlotSpec MakeProfilePlot(const std::vector<ProfileSet>& sets, const std::vector<std::string>& variables, ProfileAxis axis);

}  // namespace corvane
