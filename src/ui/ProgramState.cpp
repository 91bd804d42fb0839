#include "ui/ProgramState.h"

#include "base/OptionTable.h"
#include "render/NumberFormat.h"

namespace corvane {

std::string NumberBoxCaption(std::string_view name) {
  static const std::map<std::string_view, const char*> captions = {
      {"gammaBox", "比熱比γ"},         {"RBox", "気体定数"},           {"VecScaleBox", "速度ベクトルの scale"},
      {"xoffsetbox", "オフセット x"},  {"yoffsetbox", "オフセット y"}, {"StreamXa", "点A の x"},
      {"StreamYa", "点A の y"},        {"StreamXb", "点B の x"},       {"StreamYb", "点B の y"},
  };
  auto it = captions.find(name);
  return it == captions.end() ? std::string(name) : std::string(it->second);
}

std::string RangeBoxText(const ProgramState& state, std::string_view name) {
  if (auto typed = state.typedRangeTexts.find(name); typed != state.typedRangeTexts.end()) return typed->second;
  const FieldView& view = state.scene.fieldView;
  const bool max = name == "MaxBox", min = name == "MinBox";
  const std::vector<double>& row = max ? view.ContourMax : min ? view.ContourMin : view.ContourStep;
  const int k = state.scene.options.RGroup;
  if (k >= 0 && static_cast<std::size_t>(k) < row.size()) return FormatGeneral15(row[static_cast<std::size_t>(k)]);
  return max ? "100" : min ? "0.0" : "1.0";
}

void RequireNumberBox(const ProgramState& state, std::string_view name) {
  auto it = state.wordsInNumberBoxes.find(name);
  if (it == state.wordsInNumberBoxes.end()) return;
  ParseDoubleValue(NumberBoxCaption(name), it->second);  // throws the usual message, with the caption
  throw CorvaneError(NumberBoxCaption(name) + " の値が数値ではありません");
}

void RequireLoadNumbers(const ProgramState& state) {
  if (!state.scene.options.load.IncludeVelCheck) return;
  RequireNumberBox(state, "gammaBox");
  RequireNumberBox(state, "RBox");
}

void RequireDrawingNumbers(const ProgramState& state) {
  const ProgramOptions& o = state.scene.options;
  const bool velocity = o.load.IncludeVelCheck;
  if (velocity && o.display.ShowVec) RequireNumberBox(state, "VecScaleBox");
  if (o.display.overlayCopies > 0) {
    RequireNumberBox(state, "xoffsetbox");
    RequireNumberBox(state, "yoffsetbox");
  }
  if (velocity && o.display.DrawStreamLineCheck && o.stream.StreamLineSegment)
    for (const char* name : {"StreamXa", "StreamYa", "StreamXb", "StreamYb"}) RequireNumberBox(state, name);
}

}  // namespace corvane
