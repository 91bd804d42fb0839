#include "field/FormulaVariables.h"

#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "field/VariableRows.h"

namespace corvane {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trim(std::string_view s) {
  const std::size_t a = s.find_first_not_of(kBlanks);
  if (a == std::string_view::npos) return {};
  return s.substr(a, s.find_last_not_of(kBlanks) - a + 1);
}

// Letters, digits, "_" and any non-ASCII byte (so Japanese names such as マッハ数 are names).
bool IsNameByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool IsName(std::string_view s) {
  if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
  return std::all_of(s.begin(), s.end(), [](char c) { return IsNameByte(static_cast<unsigned char>(c)); });
}

const std::string& NameChars() {
  static const std::string chars = [] {
    std::string s;
    for (int c = 1; c < 256; ++c)
      if (IsNameByte(static_cast<unsigned char>(c))) s.push_back(static_cast<char>(c));
    return s;
  }();
  return chars;
}

// The 1-based character position of byte offset `pos` in UTF-8 text.
int CharacterPosition(const std::string& text, int pos) {
  int n = 1;
  for (int k = 0; k < pos && k < static_cast<int>(text.size()); ++k)
    if ((static_cast<unsigned char>(text[static_cast<std::size_t>(k)]) & 0xC0) != 0x80) ++n;
  return n;
}

// muParser's "=" assigns to a variable, which would write into the data set: a formula is a
// value, so a lone "=" inside the expression is refused. Returns its byte offset, or -1.
int LoneEquals(const std::string& e) {
  for (std::size_t k = 0; k < e.size(); ++k) {
    if (e[k] != '=') continue;
    const char before = k > 0 ? e[k - 1] : ' ';
    const char after = k + 1 < e.size() ? e[k + 1] : ' ';
    if (after == '=') {
      ++k;
      continue;
    }
    if (before == '<' || before == '>' || before == '!') continue;
    return static_cast<int>(k);
  }
  return -1;
}

double IfThenElse(double condition, double a, double b) { return condition != 0.0 ? a : b; }

std::string Where(const FormulaDefinition& f) { return "計算式 " + f.name + " = " + f.expression; }

}  // namespace

FormulaDefinition ParseFormulaText(std::string_view text) {
  const std::size_t eq = text.find('=');
  const std::string shown(Trim(text));
  if (eq == std::string_view::npos)
    throw CorvaneError("計算式 \"" + shown + "\" に \"=\" がありません。「名前 = 式」の形で書いてください");
  FormulaDefinition f;
  f.name = std::string(Trim(text.substr(0, eq)));
  f.expression = std::string(Trim(text.substr(eq + 1)));
  if (!IsName(f.name))
    throw CorvaneError("計算式 \"" + shown + "\" の名前 \"" + f.name +
                       "\" は使えません。英字・数字・_・日本語で、数字以外で始まる名前にしてください");
  if (f.expression.empty()) throw CorvaneError("計算式 \"" + shown + "\" の式が空です");
  return f;
}

NodeRow EvaluateFormula(const FieldDataSet& data, const FormulaDefinition& formula) {
  const int equals = LoneEquals(formula.expression);
  if (equals >= 0)
    throw CorvaneError(Where(formula) + " の " + std::to_string(CharacterPosition(formula.expression, equals)) +
                       " 文字目: 代入の \"=\" は使えません (等しいかどうかは \"==\")");
  mu::Parser parser;
  NodeRow out(static_cast<std::size_t>(std::max(data.NodeCount, 0)), 0.0);
  try {
    parser.DefineNameChars(NameChars().c_str());
    parser.DefineFun("if", IfThenElse);
    if (FindRow(data, "pi") < 0) parser.DefineConst("pi", 3.14159265358979323846);
    // Bulk mode reads variable k of node n at pointer + n; the parser never writes through them
    // (a lone "=" was refused above). A column named like a function ("min") cannot be used.
    const std::size_t nodes = out.size();
    auto define = [&](const std::string& name, const NodeRow& row) {
      if (row.size() < nodes || !IsName(name)) return;
      try {
        parser.DefineVar(name, const_cast<double*>(row.data()));
      } catch (const mu::Parser::exception_type&) {
      }
    };
    for (std::size_t r = 0; r < data.Values.size(); ++r)
      if (std::optional<std::string> caption = RowCaption(data, static_cast<int>(r)))
        define(*caption, data.Values[r]);
    // x and y are the coordinates, whatever a column is called.
    define("x", data.X);
    define("y", data.Y);
    parser.SetExpr(formula.expression);
    if (nodes == 0) {
      parser.Eval();
      return out;
    }
    if (nodes > static_cast<std::size_t>(std::numeric_limits<int>::max())) throw CorvaneError(Where(formula) + ": 格子点が多すぎます");
    parser.Eval(out.data(), static_cast<int>(nodes));
    if (parser.GetNumResults() != 1) throw CorvaneError(Where(formula) + ": 式の値は一つにしてください (\",\" で区切らない)");
  } catch (const mu::Parser::exception_type& e) {
    const int at = CharacterPosition(formula.expression, std::max(e.GetPos(), 0));
    const std::string token = e.GetToken();
    switch (e.GetCode()) {
      case mu::ecUNASSIGNABLE_TOKEN:
        throw CorvaneError(Where(formula) + " の " + std::to_string(at) + " 文字目に知らない名前 \"" + token +
                           "\" があります。使える名前は変数名、x、y、pi と関数です");
      case mu::ecUNEXPECTED_EOF:
        throw CorvaneError(Where(formula) + " が途中で終わっています (" + std::to_string(at) + " 文字目)");
      case mu::ecMISSING_PARENS:
        throw CorvaneError(Where(formula) + " の括弧が閉じていません");
      case mu::ecTOO_FEW_PARAMS:
      case mu::ecTOO_MANY_PARAMS:
        throw CorvaneError(Where(formula) + " の " + std::to_string(at) + " 文字目: 関数 \"" + token +
                           "\" の引数の数が違います");
      default:
        throw CorvaneError(Where(formula) + " の " + std::to_string(at) + " 文字目" +
                           (token.empty() ? std::string() : " (\"" + token + "\")") + "が正しくありません: " + e.GetMsg());
    }
  }
  return out;
}

int AddFormulaVariable(FieldDataSet& data, const FormulaDefinition& formula) {
  if (data.ColumnCount < 2 || data.Values.size() < static_cast<std::size_t>(data.ColumnCount))
    throw CorvaneError("データが読み込まれていないので計算式 " + formula.name + " を追加できません");
  if (FindRow(data, formula.name) >= 0 || formula.name == "x" || formula.name == "y")
    throw CorvaneError("計算式の名前 \"" + formula.name + "\" はすでに使われています");
  // A derived row the formula names is computed now, so the formula finds its values.
  for (int derived = 0; derived < static_cast<int>(data.Values.size()); ++derived)
    if (RowPending(data, derived))
      if (std::optional<std::string> caption = RowCaption(data, derived);
          caption && formula.expression.find(*caption) != std::string::npos)
        EnsureRowValues(data, derived);
  NodeRow values = EvaluateFormula(data, formula);
  const int row = data.ColumnCount - 2;
  const auto at = static_cast<std::ptrdiff_t>(row);
  data.Values.insert(data.Values.begin() + at, std::move(values));
  data.VariableNames.push_back(formula.name);
  data.ColumnCount += 1;
  return row;
}

}  // namespace corvane
