// Numbers as exchange formats write them: the usual decimal forms, Fortran's D exponent
// (1.0D+00), the exponent written without its letter (1.0-100, 1.0+100) and nan or inf.
#pragma once
#include <string_view>

namespace corvane {

// Reads the whole of `text` (no blanks) as one number; false when it is not one.
bool ParseFortranNumber(std::string_view text, double& value);

// Whether `c` ends a number in a list of values: a blank, a control character or a comma.
inline bool IsValueSeparator(char c) { return static_cast<unsigned char>(c) <= 32 || c == ','; }

}  // namespace corvane
