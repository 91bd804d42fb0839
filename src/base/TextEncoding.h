// Input text may be UTF-8 or CP932 (Shift-JIS); inside the program everything is UTF-8.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
// Converts CP932 bytes to UTF-8 with iconv; bytes that are not CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes);

}  // namespace corvane
