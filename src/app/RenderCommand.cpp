#include <iostream>

#include "app/CommandLine.h"

namespace corvane {

int RunRenderCommand(const CommandArgs& args) {
  (void)args;
  std::cerr << "corvane: このコマンドはまだありません\n";
  return 1;
}

}  // namespace corvane
