// Variables defined by the user as formulas of the others ("Cp = (P - 101325) / (0.5*1.2*170^2)"),
// evaluated at every node and added to the data set like a column of the file.
//
// An expression may use the variables by name (file columns, earlier formulas, マッハ数, 全圧,
// 渦度, 速さ), x and y, numbers, pi, + - * / ^, comparisons, ?:, and the functions sqrt, exp, log
// (natural), log10, abs, sin, cos, tan, atan2, min, max and if(condition, a, b).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "field/FieldDataSet.h"

namespace corvane {

struct FormulaDefinition {
  std::string name;        // the new variable's name
  std::string expression;  // everything right of the first "="
};

// Splits "NAME = EXPRESSION". Throws CorvaneError (Japanese, naming the text) when there is no
// "=", the name is empty or not a name, or the expression is empty.
FormulaDefinition ParseFormulaText(std::string_view text);

// The values of `formula` at every node. Throws CorvaneError naming the formula, the character
// position (1-based) and the unknown name or the fault; the data set is not touched.
NodeRow EvaluateFormula(const FieldDataSet& data, const FormulaDefinition& formula);

// Evaluates `formula` and inserts it as a variable after the file's columns and the formulas
// before it (so the rows of the Mach number and the rest move down by one). A name already
// used, or an expression that fails, throws CorvaneError and adds nothing. Returns the new row.
int AddFormulaVariable(FieldDataSet& data, const FormulaDefinition& formula);

}  // namespace corvane
