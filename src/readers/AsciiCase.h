// Case changes of ASCII letters only (keywords, names and extensions in data files); other
// bytes, UTF-8 included, pass unchanged.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// `s` with a..z turned to A..Z.
inline std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return out;
}

// The extension of `path` with its dot, in lower case (".vts").
inline std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return ext;
}

}  // namespace corvane
