#include "readers/LineSplitters.h"

namespace corvane {
namespace {

int Collect(std::string_view line, Separator separator, std::vector<std::string>& fields) {
  fields.clear();
  return ForEachField(line, separator, [&](std::string_view f) {
    fields.emplace_back(f);
    return true;
  });
}

}  // namespace

int SplitBySpaces(std::string_view line, std::vector<std::string>& fields) {
  return Collect(line, Separator::Spaces, fields);
}

int SplitByCommas(std::string_view line, std::vector<std::string>& fields) {
  return Collect(line, Separator::Commas, fields);
}

int SplitByTabs(std::string_view line, std::vector<std::string>& fields) {
  return Collect(line, Separator::Tabs, fields);
}

int SplitLine(std::string_view line, Separator separator, std::vector<std::string>& fields) {
  return Collect(line, separator, fields);
}

}  // namespace corvane
