#include "profile/ProfileTable.h"

#include <QSaveFile>
#include <QString>
#include <cmath>
#include <cstdio>

#include "base/Errors.h"
#include "field/VariableRows.h"

namespace corvane {
namespace {

std::string Number(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string Short(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}

}  // namespace

std::string LineChoice::Text() const {
  if (segment) return "線分 (" + Short(p1.x) + ", " + Short(p1.y) + ")-(" + Short(p2.x) + ", " + Short(p2.y) + ")";
  return LinePiecesText(pieces);
}

ProfileSet MakeProfileSet(const FieldDataSet& data, const LineChoice& line, const std::string& label) {
  ProfileSet set;
  set.label = label;
  set.profile = line.segment ? ExtractSegment(data, line.p1, line.p2) : ExtractGridLine(data, line.pieces);
  for (std::size_t r = 0; r < data.Values.size(); ++r)
    set.rowNames.push_back(RowCaption(data, static_cast<int>(r)).value_or("row" + std::to_string(r)));
  return set;
}

const std::vector<double>* FindProfileColumn(const ProfileSet& set, const std::string& name) {
  if (name == "s") return &set.profile.s;
  if (name == "x") return &set.profile.x;
  if (name == "y") return &set.profile.y;
  for (std::size_t r = 0; r < set.rowNames.size() && r < set.profile.rows.size(); ++r)
    if (set.rowNames[r] == name) return &set.profile.rows[r];
  return nullptr;
}

const std::vector<double>& ProfileColumn(const ProfileSet& set, const std::string& name) {
  if (const std::vector<double>* column = FindProfileColumn(set, name)) return *column;
  std::string names;
  for (const std::string& n : set.rowNames) names += (names.empty() ? "" : ", ") + n;
  throw CorvaneError("変数 \"" + name + "\" は " + set.label + " にありません (あるのは " + names + ")");
}

std::string ProfileCsvText(const std::vector<ProfileSet>& sets, std::vector<std::string> variables) {
  if (variables.empty() && !sets.empty()) variables = sets.front().rowNames;
  std::string text = "curve,s,x,y";
  for (const std::string& v : variables) text += "," + CsvField(v);
  text += "\n";
  for (std::size_t c = 0; c < sets.size(); ++c) {
    const ProfileSet& set = sets[c];
    std::vector<const std::vector<double>*> columns;
    for (const std::string& v : variables) columns.push_back(FindProfileColumn(set, v));
    for (std::size_t k = 0; k < set.profile.Size(); ++k) {
      text += std::to_string(c + 1) + "," + Number(set.profile.s[k]) + "," + Number(set.profile.x[k]) + "," +
              Number(set.profile.y[k]);
      for (const std::vector<double>* col : columns) text += "," + Number(col && k < col->size() ? (*col)[k] : std::nan(""));
      text += "\n";
    }
  }
  return text;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  QSaveFile file(QString::fromStdString(path));
  const bool ok = file.open(QIODevice::WriteOnly) &&
                  file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                  file.commit();
  if (!ok) throw CorvaneError("ファイルを書けません: " + path);
}

PlotSpec MakeProfilePlot(const std::vector<ProfileSet>& sets, const std::vector<std::string>& variables, ProfileAxis axis) {
  PlotSpec figure;
  figure.xTitle = ProfileAxisName(axis);
  for (const std::string& v : variables) figure.yTitle += (figure.yTitle.empty() ? "" : ", ") + v;
  int n = 0;
  std::vector<std::string> curveVariables;
  for (const ProfileSet& set : sets) {
    for (const std::string& v : variables) {
      curveVariables.push_back(v);
      PlotCurve c;
      c.label = variables.size() > 1 ? set.label + " " + v : set.label;
      c.x = AxisColumn(set.profile, axis);
      c.y = ProfileColumn(set, v);
      c.colour = CurveColour(n++);
      figure.curves.push_back(std::move(c));
    }
  }
  // A second variable is read on an axis of its own.
  if (variables.size() > 1) PutVariableOnRightAxis(figure, curveVariables, variables[1]);
  return figure;
}

}  // namespace corvane
