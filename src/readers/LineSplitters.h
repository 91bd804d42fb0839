// Splitting one text line into fields: by blanks, by commas (with quoted fields) or by tabs.
// The public splitters fill a list of strings; the loader uses ForEachField, which hands out
// views without copying so a million data lines cost no allocations.
#pragma once
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "field/LoadOptions.h"

namespace corvane {

// Blanks-separated fields: the line is trimmed of control characters and blanks, cut at every
// run of blanks (tabs are not cuts), and each piece is trimmed the same way.
int SplitBySpaces(std::string_view line, std::vector<std::string>& fields);
// Comma-separated fields; a field opening with a double quote is a quoted string ("" stands for
// one quote) and the character after its closing quote is skipped. Fields are not trimmed.
int SplitByCommas(std::string_view line, std::vector<std::string>& fields);
// Tab-separated fields, not trimmed; a tab at the very end gives no trailing empty field.
int SplitByTabs(std::string_view line, std::vector<std::string>& fields);
// The splitter that `separator` selects.
int SplitLine(std::string_view line, Separator separator, std::vector<std::string>& fields);

namespace split_detail {

inline bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

// Text of a quoted comma field starting at line[pos] == '"': the quotes removed and "" read as
// one quote. Sets `next` to the index after the closing quote (line size when unterminated).
// Returns a view into the line when no doubled quote occurs, else a view into `scratch`.
inline std::string_view QuotedField(std::string_view line, std::size_t pos, std::size_t& next, std::string& scratch) {
  std::size_t start = pos + 1;
  std::size_t q = line.find('"', start);
  if (q == std::string_view::npos) {
    next = line.size();
    return line.substr(start);
  }
  if (q + 1 >= line.size() || line[q + 1] != '"') {
    next = q + 1;
    return line.substr(start, q - start);
  }
  // Doubled quotes: copy piece by piece.
  scratch.assign(line.data() + start, q - start);
  std::size_t p = q;
  for (;;) {
    // line[p] is a quote: either doubled (one literal quote) or the closing one.
    if (p + 1 < line.size() && line[p + 1] == '"') {
      scratch.push_back('"');
      std::size_t from = p + 2;
      std::size_t nq = line.find('"', from);
      if (nq == std::string_view::npos) {
        scratch.append(line.data() + from, line.size() - from);
        next = line.size();
        return scratch;
      }
      scratch.append(line.data() + from, nq - from);
      p = nq;
    } else {
      next = p + 1;
      return scratch;
    }
  }
}

}  // namespace split_detail

// Calls emit(std::string_view field) for every field of the line as the selected splitter cuts
// it, until emit returns false. A view is valid only during its call. Returns the number of
// fields handed out.
template <class Emit>
int ForEachField(std::string_view line, Separator separator, Emit&& emit) {
  using namespace split_detail;
  int count = 0;
  switch (separator) {
    case Separator::Spaces: {
      std::string_view t = Trim(line);
      std::size_t pos = 0;
      while (pos < t.size()) {
        const void* hit = std::memchr(t.data() + pos, ' ', t.size() - pos);
        std::size_t end = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - t.data()) : t.size();
        ++count;
        if (!emit(Trim(t.substr(pos, end - pos)))) return count;
        pos = end;
        while (pos < t.size() && t[pos] == ' ') ++pos;
      }
      return count;
    }
    case Separator::Commas: {
      std::string scratch;
      std::size_t pos = 0;
      while (pos < line.size()) {
        if (line[pos] == '"') {
          std::size_t next = 0;
          std::string_view field = QuotedField(line, pos, next, scratch);
          ++count;
          if (!emit(field)) return count;
          pos = next + 1;  // skips the character after the closing quote, normally the comma
        } else {
          const void* hit = std::memchr(line.data() + pos, ',', line.size() - pos);
          if (!hit) {
            ++count;
            emit(line.substr(pos));
            return count;
          }
          std::size_t comma = static_cast<std::size_t>(static_cast<const char*>(hit) - line.data());
          ++count;
          if (!emit(line.substr(pos, comma - pos))) return count;
          pos = comma + 1;
        }
      }
      // The walk reached the end of the text: what remains is one last, empty field.
      ++count;
      emit(std::string_view());
      return count;
    }
    case Separator::Tabs: {
      std::size_t pos = 0;
      while (pos < line.size()) {
        const void* hit = std::memchr(line.data() + pos, '\t', line.size() - pos);
        std::size_t end = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - line.data()) : line.size();
        ++count;
        if (!emit(line.substr(pos, end - pos))) return count;
        pos = end + 1;
      }
      return count;
    }
  }
  return count;
}

}  // namespace corvane
