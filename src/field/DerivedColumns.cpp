#include "field/DerivedColumns.h"

#include <algorithm>
#include <initializer_list>

namespace corvane {
namespace {

// Upper-case ASCII letters and digits of `name`; other bytes (Japanese text) are kept as they are,
// separators ('_', '-', ' ', '.', '(', ')', '[', ']') are dropped.
std::string Normalised(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == '_' || c == '-' || c == ' ' || c == '.' || c == '(' || c == ')' || c == '[' || c == ']') continue;
    out.push_back(c);
  }
  return out;
}

bool Has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }
bool StartsWith(const std::string& text, const char* part) { return text.rfind(part, 0) == 0; }
bool OneOf(const std::string& text, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return text == n; });
}

// Whether a velocity component's name reads like the x (or y) component.
bool LooksLikeVelocity(const std::string& n, bool x) {
  const char* axis = x ? "X" : "Y";
  if (x ? OneOf(n, {"U", "UX", "VX", "U1", "UVEL", "XVEL"}) : OneOf(n, {"V", "UY", "VY", "U2", "VVEL", "YVEL"})) return true;
  if ((Has(n, "VEL") || Has(n, "速度")) && (Has(n, axis) || Has(n, x ? "ｘ" : "ｙ"))) return true;
  return false;
}

bool LooksRight(FlowRole role, const std::string& name) {
  const std::string n = Normalised(name);
  switch (role) {
    case FlowRole::U: return LooksLikeVelocity(n, true);
    case FlowRole::V: return LooksLikeVelocity(n, false);
    case FlowRole::T:
      return OneOf(n, {"T", "TS", "TSTAT", "TSTATIC"}) || StartsWith(n, "TEMP") || Has(n, "TEMPERATURE") ||
             Has(n, "温度");
    case FlowRole::P:
      return OneOf(n, {"P", "PS", "PSTAT", "PSTATIC"}) || StartsWith(n, "PRES") || Has(n, "PRESSURE") ||
             Has(n, "圧力");
  }
  return true;
}

}  // namespace

std::array<DerivedColumn, 4> DerivedColumnsOf(const std::vector<std::string>& names, const std::array<int, 4>& chosen) {
  std::array<DerivedColumn, 4> out;
  for (std::size_t k = 0; k < out.size(); ++k) {
    DerivedColumn& c = out[k];
    c.role = static_cast<FlowRole>(k);
    if (chosen[k] < 0 || static_cast<std::size_t>(chosen[k]) >= names.size()) continue;
    c.index = chosen[k];
    c.name = names[static_cast<std::size_t>(chosen[k])];
    c.looksRight = LooksRight(c.role, c.name);
  }
  return out;
}

const char* FlowRoleText(FlowRole role) {
  switch (role) {
    case FlowRole::U: return "x方向速度";
    case FlowRole::V: return "ｙ方向速度";
    case FlowRole::T: return "温度";
    case FlowRole::P: return "圧力";
  }
  return "";
}

std::string DerivedColumnsText(const std::array<DerivedColumn, 4>& columns) {
  std::string text = "マッハ数・全圧の計算に使う列:";
  for (const DerivedColumn& c : columns) {
    text += std::string(c.role == FlowRole::U ? " " : ", ") + FlowRoleText(c.role) + " ";
    if (c.index >= 0)
      text += "\"" + c.name + "\"";
    else
      text += c.role == FlowRole::P ? "なし (101325 Pa)" : "なし";
  }
  return text;
}

std::vector<std::string> DerivedColumnDoubts(const std::array<DerivedColumn, 4>& columns) {
  std::vector<std::string> doubts;
  for (const DerivedColumn& c : columns) {
    if (c.index < 0 || c.looksRight) continue;
    doubts.push_back(std::string(FlowRoleText(c.role)) + "として使う列 \"" + c.name + "\" は名前が" +
                     FlowRoleText(c.role) + "に見えません。マッハ数と全圧はこの列から計算されます (データタブの「" +
                     FlowRoleText(c.role) + "」で列を選べます)");
  }
  return doubts;
}

}  // namespace corvane
