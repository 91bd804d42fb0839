#include "scene/SettingsFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <iterator>
#include <string_view>

#include "base/Errors.h"
#include "readers/MappedFile.h"
#include "base/OptionTable.h"
#include "base/TextEncoding.h"

namespace corvane {
namespace {

enum class ValueKind { Colour, Integer, Number, Text };

// A keyword line that stands alone and sets one control.
struct FlagKeyword {
  const char* keyword;
  const char* control;
  const char* value;
};

// A keyword line whose value is on the next line.
struct ValueKeyword {
  const char* keyword;
  const char* control;
  ValueKind kind;
};

// In the order the keywords are tested; radio keywords set the chosen button.
constexpr FlagKeyword kFlags[] = {
    {"WITH OPENGL", "UseOpenGL", "1"},
    {"WITHOUT OPENGL", "UseOpenGL", "0"},
    {"WHITE BACKGROUND", "WhiteBack", "1"},
    {"BLACK BACKGROUND", "WhiteBack", "0"},
    {"SHOW CONTOUR", "ShowContour", "1"},
    {"NO CONTOUR", "ShowContour", "0"},
    {"SHOW GRID", "ShowGrid", "1"},
    {"NO GRID", "ShowGrid", "0"},
    {"SHOW VECTOR", "ShowVec", "1"},
    {"NO VECTOR", "ShowVec", "0"},
    {"SHOW LABEL", "ShowLabel", "1"},
    {"NO LABEL", "ShowLabel", "0"},
    {"LABEL CLEAR BACK", "BackClear", "1"},
    {"LABEL BRUSH BACK", "BackClear", "0"},
    {"INCLUDE VELOCITY", "IncludeVelCheck", "1"},
    {"NO VELOCITY", "IncludeVelCheck", "0"},
    {"RAINBOW COLOR", "ColorMap1", "1"},
    {"R&B COLOR", "ColorMap2", "1"},
    {"GRAY COLOR1", "GrayMap1", "1"},
    {"GRAY COLOR2", "GrayMap2", "1"},
    {"VIRIDIS COLOR", "ViridisMap", "1"},
    {"CIVIDIS COLOR", "CividisMap", "1"},
    {"COOLWARM COLOR", "CoolWarmMap", "1"},
    {"NOT FIX LINE COLOR", "FixLineColor", "0"},
    {"SMOOTH DRAWING", "SmoothCheck", "1"},
    {"PLAIN DRAWING", "SmoothCheck", "0"},
    {"SHOW COLOR BAR", "ColourBarCheck", "1"},
    {"NO COLOR BAR", "ColourBarCheck", "0"},
    {"MERGE BANDS", "MergeBandsCheck", "1"},
    {"TRIANGLE BANDS", "MergeBandsCheck", "0"},
    {"ROUND LEVELS", "RoundLevelsCheck", "1"},
    {"EXACT LEVELS", "RoundLevelsCheck", "0"},
    {"BRUSH WITH BMP", "BMPModeCheck", "1"},
    {"BRUSH WITH EMF", "BMPModeCheck", "0"},
    {"QUICK BRUSH", "QuickFill", "1"},
    {"BEAUTIFUL BRUSH", "QuickFill", "0"},
    {"SHOW XY AXIS", "ShowXYLabel", "1"},
    {"NO XY AXIS", "ShowXYLabel", "0"},
    {"XY SAME SCALE", "XYSameScale", "1"},
    {"XY DIFFERENT SCALE", "XYSameScale", "0"},
    {"SHOW STREAMLINE", "DrawStreamLineCheck", "1"},
    {"NO STREAMLINE", "DrawStreamLineCheck", "0"},
    {"SPACE SEPARATE", "DataSSV", "1"},
    {"COMMA SEPARATE", "DataCSV", "1"},
    {"TAB SEPARATE", "DataTSV", "1"},
    {"DATA I->J", "DataIJ", "1"},
    {"DATA J->I", "DataJI", "1"},
};

constexpr ValueKeyword kValues[] = {
    {"FIX LINE COLOR", "Shape1", ValueKind::Colour},
    {"LABEL COLOR", "LabelExp", ValueKind::Colour},
    {"STREAMLINE COLOR", "StreamColShape", ValueKind::Colour},
    {"ZONE COUNT", "ZCountBox", ValueKind::Integer},
    {"GRIDCOUNT LINE NUMBER", "XYNumLineBox", ValueKind::Integer},
    {"DATALABEL LINE NUMBER", "LabelLineBox", ValueKind::Integer},
    {"DATA LINE NUMBER", "DataStartLineBox", ValueKind::Integer},
    {"PICTURE WIDTH", "TViewForm.Width", ValueKind::Integer},
    {"PICTURE HEIGHT", "TViewForm.Height", ValueKind::Integer},
    {"X CENTER", "x0box", ValueKind::Number},
    {"Y CENTER", "y0box", ValueKind::Number},
    {"X SCALE", "xscalebox", ValueKind::Number},
    {"Y SCALE", "yscalebox", ValueKind::Number},
    {"STREAMLINE WIDTH", "StreamLineWid", ValueKind::Integer},
    // A variable from a formula, "Cp = (P - 101325) / 1e4", added after every load.
    {"FORMULA", "Formula", ValueKind::Text},
};

std::string_view TrimControlChars(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

// Upper-cases a to z only and trims control characters and blanks from both ends.
std::string NormaliseKeyword(std::string_view line) {
  std::string s(TrimControlChars(line));
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// Lines ended by CR LF, CR or LF; a final end of line adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A line as UTF-8 for a message: as it is when valid UTF-8, otherwise read as CP932.
std::string ShowableText(std::string_view s) { return IsValidUtf8(s) ? std::string(s) : Cp932ToUtf8(s); }

// What a value line of each kind holds, for the reason a reading stops.
const char* KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Colour: return "色 (0 以上の整数)";
    case ValueKind::Integer: return "整数";
    case ValueKind::Number: return "数値";
    case ValueKind::Text: return "空でない文字列";
  }
  return "";
}

// The value of a value line in the form the control takes, or false when it is not valid.
// Numbers are read as the option tables read them; a value line only refuses more.
bool ReadValue(std::string_view line, ValueKind kind, std::string& value) {
  if (kind == ValueKind::Text) {
    value = ShowableText(TrimControlChars(line));
    return !value.empty();
  }
  const std::string_view t = TrimControlChars(line);
  // A "+" may not stand before another sign.
  if (t.size() > 1 && t[0] == '+' && (t[1] == '+' || t[1] == '-')) return false;
  try {
    if (kind == ValueKind::Number) {
      // Only digits, sign, point and exponent: "inf" and "nan" are not numbers a user types here.
      for (char c : t) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
      }
      if (!std::isfinite(ParseDoubleValue(KindName(kind), t))) return false;
      value = std::string(t.size() > 1 && t[0] == '+' ? t.substr(1) : t);
      return true;
    }
    const long long n = ParseIntegerValue(KindName(kind), t);
    // A 32-bit number; a colour is R*65536 + G*256 + B, and a negative number names no colour.
    if (n < INT_MIN || n > INT_MAX || (kind == ValueKind::Colour && n < 0)) return false;
    value = std::to_string(n);
    return true;
  } catch (const CorvaneError&) {
    return false;
  }
}

std::string LinePrefix(const std::string& file, std::size_t line) {
  return file + " の " + std::to_string(line + 1) + " 行目: ";
}

}  // namespace

SettingsFileResult ParseSettingsText(const std::string& text, const std::string& fileName) {
  SettingsFileResult result;
  std::string_view body = text;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);  // editors' UTF-8 mark
  const std::vector<std::string_view> lines = SplitLines(body);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string key = NormaliseKeyword(lines[k]);
    const int line = static_cast<int>(k);
    bool matched = false;
    for (const FlagKeyword& f : kFlags) {
      if (key == f.keyword) {
        result.assignments.push_back({f.control, f.value, line});
        matched = true;
        break;
      }
    }
    if (matched) continue;
    for (const ValueKeyword& v : kValues) {
      if (key != v.keyword) continue;
      // The check box is set before its colour line is read, whatever that line holds.
      if (std::string_view(v.keyword) == "FIX LINE COLOR") result.assignments.push_back({"FixLineColor", "1", line});
      if (k + 1 >= lines.size()) {
        result.complete = false;
        result.stopReason = LinePrefix(fileName, k) + v.keyword + " の次に値の行がありません";
        return result;
      }
      std::string value;
      if (!ReadValue(lines[k + 1], v.kind, value)) {
        result.complete = false;
        result.stopReason = LinePrefix(fileName, k + 1) + v.keyword + " の値 \"" + ShowableText(lines[k + 1]) + "\" は" +
                            KindName(v.kind) + "ではありません";
        return result;
      }
      result.assignments.push_back({v.control, value, line + 1});
      break;
    }
  }
  return result;
}

SettingsFileResult ReadSettingsFile(const std::string& path) {
  // A missing file is no fault (the defaults stand); anything else that cannot be read is.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
    SettingsFileResult result;
    result.complete = false;
    result.stopReason = "設定ファイルを開けません: " + path;
    return result;
  }
  return ParseSettingsText(ReadSmallFile(path, kSettingsFileLimit, "設定ファイル"), path);
}

}  // namespace corvane
