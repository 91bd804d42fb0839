// The reading process of CGNS files: the program started again in a hidden mode, with limits on
// its memory and time, so a crash of the CGNS library on a damaged file ends that process only.
// It hands the values back through an anonymous shared file.
#pragma once
#include <string>

namespace corvane {

// The hidden first argument that makes the program a CGNS reading process.
inline constexpr const char* kCgnsReaderFlag = "--cgns-reader-process";
// Set in the environment (tests only), the reading process aborts at once.
inline constexpr const char* kCgnsReaderAbortVariable = "CORVANE_CGNS_READER_ABORT";

// Whether argv asks for the reading process; every entry point (the program, test programs)
// checks this before anything else.
bool IsCgnsReaderProcess(int argc, char** argv);
// The reading process: reads the file named in argv and writes what it found, or why it refused
// the file, to the shared file it was given, and ends the process.
[[noreturn]] void RunCgnsReaderProcess(int argc, char** argv);

// The program started as the reading process: this program again unless a host that cannot be
// started in the hidden mode (the Python module) names a reader program of its own.
void SetCgnsReaderProgram(const std::string& path);

}  // namespace corvane
