// The text grid reader on any bytes: the first four choose the layout (zone count, the size,
// label and data lines, separator, loop order, one or two threads); the rest is the file.
#include <cstdint>
#include <new>

#include "FuzzSupport.h"
#include "readers/DataReader.h"
#include "base/Errors.h"
#include "fieldview/LoadedView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  corvane::LoadOptions options;
  options.ZCountBox = 1 + data[0] % 3;
  options.XYNumLineBox = data[1] % 3;
  options.LabelLineBox = options.XYNumLineBox + options.ZCountBox + data[2] % 2;
  options.DataStartLineBox = options.LabelLineBox + 1;
  options.separator = static_cast<corvane::Separator>(data[3] % 3);
  options.loopOrder = data[3] & 4 ? corvane::LoopOrder::JI : corvane::LoopOrder::IJ;
  options.readThreads = data[3] & 8 ? 2 : 1;
  options.readWindow = 64;  // many windows even for a short input
  const corvane::fuzz::InputFile file(data + 4, size - 4);
  corvane::fuzz::QuietNotifier notifier;
  corvane::NullProgress progress;
  try {
    if (auto read = corvane::LoadDataFile(file.Path(), options, notifier, progress))
      corvane::CompleteLoad(std::move(*read), options, corvane::FieldView(), notifier);
  } catch (const corvane::CorvaneError&) {
  }
  return 0;
}
