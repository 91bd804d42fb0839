#include "readers/CgnsLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "base/Errors.h"

namespace corvane {

const CgnsLibrary& Cgns() {
  static CgnsLibrary library;
  static std::string failure;
  static std::once_flag opened;
  std::call_once(opened, [] {
    void* handle = dlopen(CORVANE_CGNS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      failure = std::string("CGNS ライブラリ ") + CORVANE_CGNS_LIBRARY + " を開けません: " + (why ? why : "");
      return;
    }
#define CORVANE_CGNS_RESOLVE(name)                                                            \
  library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #name));                \
  if (!library.name && failure.empty())                                                       \
    failure = std::string("CGNS ライブラリ ") + CORVANE_CGNS_LIBRARY + " に " #name " がありません";
    CORVANE_CGNS_FUNCTIONS(CORVANE_CGNS_RESOLVE)
#undef CORVANE_CGNS_RESOLVE
  });
  if (!failure.empty()) throw CorvaneError(failure);
  return library;
}

}  // namespace corvane
