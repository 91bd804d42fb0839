// `corvane profile DATA... --line ... --var NAME -o OUT`: the values along walls, grid lines or
// segments of each data file, written as CSV or drawn as an x-y plot (PNG, SVG, PDF).
#include <QFileInfo>
#include <charconv>
#include <iostream>

#include "app/CommandLine.h"
#include "fieldview/LoadedView.h"
#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "profile/ProfileTable.h"

namespace corvane {
namespace {

// "x1,y1,x2,y2" as the two end points of a segment.
LineChoice ParseSegment(const std::string& text) {
  double v[4];
  std::size_t pos = 0;
  for (int k = 0; k < 4; ++k) {
    const std::size_t comma = k < 3 ? text.find(',', pos) : text.size();
    std::string_view item = std::string_view(text).substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    if (!item.empty() && item.front() == '+') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    auto r = std::from_chars(item.data(), item.data() + item.size(), v[k]);
    if (comma == std::string::npos || item.empty() || r.ec != std::errc() || r.ptr != item.data() + item.size())
      throw CorvaneError("--segment は x1,y1,x2,y2 の四つの数で指定してください: " + text);
    pos = comma + 1;
  }
  LineChoice line;
  line.segment = true;
  line.p1 = {v[0], v[1]};
  line.p2 = {v[2], v[3]};
  return line;
}

bool SameFile(const std::string& a, const std::string& b) {
  const QString ca = QFileInfo(QString::fromStdString(a)).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(QString::fromStdString(b)).canonicalFilePath();
}

}  // namespace

int RunProfileCommand(const CommandArgs& args) {
  if (args.data.empty()) throw CorvaneError("profile にはデータファイルを指定してください");
  if (args.output.empty()) throw CorvaneError("profile には出力ファイルを -o で指定してください");
  if (args.lines.empty()) throw CorvaneError("profile には --line か --segment で線を指定してください");
  const QString ext = QFileInfo(QString::fromStdString(args.output)).suffix().toLower();
  const bool csv = ext == QLatin1String("csv");
  if (!csv && ext != QLatin1String("png") && ext != QLatin1String("svg") && ext != QLatin1String("pdf"))
    throw CorvaneError("profile の出力は拡張子 .csv .png .svg .pdf で形式を選びます: " + args.output);
  if (!csv && args.variables.empty()) throw CorvaneError("分布図には縦軸の変数を --var で指定してください");
  const ProfileAxis axis = ParseProfileAxis(args.against);
  for (const std::string& path : args.data)
    if (SameFile(path, args.output)) throw CorvaneError("出力ファイルがデータファイルと同じです: " + args.output);
  std::vector<LineChoice> lines;
  for (const auto& [segment, text] : args.lines) {
    if (segment) {
      lines.push_back(ParseSegment(text));
    } else {
      LineChoice line;
      line.pieces = ParseLinePieces(text);
      lines.push_back(std::move(line));
    }
  }
  const ProgramOptions options = BuildOptions(args);

  StderrNotifier notifier;
  NullProgress progress;
  std::vector<ProfileSet> sets;
  for (const std::string& path : args.data) {
    std::optional<LoadResult> loaded = LoadAnyDataFile(path, options.load, FieldView{}, notifier, progress);
    if (!loaded) throw CorvaneError(path + " を読み込めませんでした");
    EnsureAllRows(loaded->data);  // a profile may show any row
    const std::string name = QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
    for (const LineChoice& line : lines) {
      std::string label = name;
      if (lines.size() > 1) label += " " + line.Text();
      sets.push_back(MakeProfileSet(loaded->data, line, label));
      for (const std::string& v : args.variables) ProfileColumn(sets.back(), v);  // an unknown name fails here
    }
  }
  std::size_t points = 0;
  for (const ProfileSet& s : sets) points += s.profile.Size();
  if (csv) {
    WriteTextFile(args.output, ProfileCsvText(sets, args.variables));
  } else {
    PlotSpec figure = MakeProfilePlot(sets, args.variables, axis);
    figure.reverseY = figure.reverseY2 = args.reverseY;
    SaveProfilePlot(args.output, figure, args.width > 0 ? args.width : 800, args.height > 0 ? args.height : 600);
  }
  std::cout << args.output << ": " << sets.size() << " 本、" << points << " 点\n";
  return 0;
}

}  // namespace corvane
