// The settings reader on any bytes, as text and as a file.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "scene/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  corvane::ParseSettingsText(text, "fuzz.ini");
  const corvane::fuzz::InputFile file(data, size);
  try {
    corvane::ReadSettingsFile(file.Path());
  } catch (const corvane::CorvaneError&) {
  }
  return 0;
}
