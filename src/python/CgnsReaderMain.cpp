// The CGNS reading process of the Python module: the interpreter cannot be started again in the
// reader's hidden mode, so the package carries this program for it.
#include "readers/CgnsProcess.h"

int main(int argc, char** argv) {
  if (corvane::IsCgnsReaderProcess(argc, argv)) corvane::RunCgnsReaderProcess(argc, argv);
  return 2;
}
