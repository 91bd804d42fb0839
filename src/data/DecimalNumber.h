// Reading the decimal numbers of data lines (std::from_chars: exact, and as fast as a hand-made
// shortcut for the usual "-1.23456789e+02" forms, which was tried and measured).
#pragma once
#include <string_view>

namespace corvane {

// Reads one number of a data line: optional sign, digits, full stop, fraction, exponent with
// e or E; blanks around it are allowed, and so are nan and inf. A number too small for a double
// reads as zero (or the nearest denormal); one too large is refused.
bool ParseDataNumber(std::string_view text, double& value);

}  // namespace corvane
