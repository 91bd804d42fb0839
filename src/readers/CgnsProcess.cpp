#include "readers/CgnsProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <thread>

#include "readers/CgnsReader.h"
#include "base/Errors.h"

extern char** environ;

namespace corvane {
namespace {

// The shared file starts with this header; the description of the content follows at
// kHeaderBytes and the rows at `rowsOffset` (a page boundary).
struct SharedHeader {
  char magic[8];
  std::uint64_t status;  // kDone, kRefused (message follows), anything else: unfinished
  std::uint64_t textBytes;
  std::uint64_t rowsOffset;
  std::uint64_t rowsBytes;
};
constexpr char kMagic[8] = {'C', 'R', 'V', 'C', 'G', 'N', 'S', '1'};
constexpr std::uint64_t kDone = 1, kRefused = 2, kUnfinished = 3;
constexpr std::uint64_t kHeaderBytes = 64;
// Where the reading process finds its shared file, and the pipe on which it says that the
// description is written (the rows follow), so this process makes its data set meanwhile.
constexpr int kResultFd = 100, kReadyFd = 101;

// Lengths and numbers of the description, in the order they were written.
class TextWriter {
 public:
  void Number(std::uint64_t v) { text_.append(reinterpret_cast<const char*>(&v), sizeof v); }
  void Text(const std::string& s) {
    Number(s.size());
    text_ += s;
  }
  const std::string& Bytes() const { return text_; }

 private:
  std::string text_;
};

// Reads the description back; every length is checked, the process that wrote it is not trusted.
class TextReader {
 public:
  explicit TextReader(std::string_view text) : text_(text) {}
  std::uint64_t Number() {
    std::uint64_t v = 0;
    if (text_.size() < sizeof v) throw std::out_of_range("short");
    std::memcpy(&v, text_.data(), sizeof v);
    text_.remove_prefix(sizeof v);
    return v;
  }
  std::string Text() {
    const std::uint64_t n = Number();
    if (n > text_.size()) throw std::out_of_range("short");
    std::string s(text_.substr(0, n));
    text_.remove_prefix(n);
    return s;
  }
  std::uint64_t Count(std::uint64_t most) {
    const std::uint64_t n = Number();
    if (n > most) throw std::out_of_range("count");
    return n;
  }
  std::size_t Left() const { return text_.size(); }

 private:
  std::string_view text_;
};

std::string Describe(const CgnsContent& c) {
  TextWriter w;
  w.Number(c.baseNames.size());
  for (const std::string& b : c.baseNames) w.Text(b);
  w.Text(c.solutionName);
  w.Number(c.cellCentred ? 1 : 0);
  w.Number(c.variables.size());
  for (const std::string& v : c.variables) w.Text(v);
  w.Number(c.zones.size());
  for (const CgnsContent::Zone& z : c.zones) {
    w.Text(z.name);
    w.Number(static_cast<std::uint64_t>(z.size.ni));
    w.Number(static_cast<std::uint64_t>(z.size.nj));
  }
  w.Number(c.times.size());
  for (double t : c.times) w.Number(std::bit_cast<std::uint64_t>(t));
  return w.Bytes();
}

CgnsContent ReadDescription(std::string_view text) {
  TextReader r(text);
  CgnsContent c;
  // Every entry takes 8 bytes at least, so no count may exceed what is left.
  for (std::uint64_t n = r.Count(r.Left() / 8), k = 0; k < n; ++k) c.baseNames.push_back(r.Text());
  c.solutionName = r.Text();
  c.cellCentred = r.Number() != 0;
  for (std::uint64_t n = r.Count(r.Left() / 8), k = 0; k < n; ++k) c.variables.push_back(r.Text());
  for (std::uint64_t n = r.Count(r.Left() / 24), k = 0; k < n; ++k) {
    CgnsContent::Zone z;
    z.name = r.Text();
    z.size.ni = static_cast<std::int64_t>(r.Count(std::uint64_t{1} << 31));
    z.size.nj = static_cast<std::int64_t>(r.Count(std::uint64_t{1} << 31));
    c.zones.push_back(std::move(z));
  }
  for (std::uint64_t n = r.Count(r.Left() / 8), k = 0; k < n; ++k) c.times.push_back(std::bit_cast<double>(r.Number()));
  if (c.baseNames.empty() || c.zones.empty()) throw std::out_of_range("empty");
  return c;
}

void WriteAll(int fd, const void* data, std::size_t n, std::uint64_t at) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, p, n, static_cast<off_t>(at));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) std::_Exit(4);
    p += w;
    n -= static_cast<std::size_t>(w);
    at += static_cast<std::uint64_t>(w);
  }
}

void WriteHeader(int fd, std::uint64_t status, std::uint64_t textBytes, std::uint64_t rowsOffset, std::uint64_t rowsBytes) {
  SharedHeader h{};
  std::memcpy(h.magic, kMagic, sizeof kMagic);
  h.status = status;
  h.textBytes = textBytes;
  h.rowsOffset = rowsOffset;
  h.rowsBytes = rowsBytes;
  WriteAll(fd, &h, sizeof h, 0);
}

void Refuse(int fd, const std::string& message) {
  WriteAll(fd, message.data(), message.size(), kHeaderBytes);
  WriteHeader(fd, kRefused, message.size(), 0, 0);
}

std::uint64_t ParseNumber(const char* text) {
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text, &end, 10);
  return end && *end == '\0' ? v : 0;
}

void Limit(int resource, std::uint64_t value) {
  const struct rlimit limit {static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
  ::setrlimit(resource, &limit);
}

std::uint64_t PhysicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGE_SIZE);
  return pages > 0 && pageSize > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize)
                                   : std::uint64_t{8} << 30;
}

// The limits of one reading: what the arrays may claim, the address space and the CPU seconds of
// the process, and the seconds it is waited for.
struct ReadingLimits {
  std::uint64_t arrays = 0, addressSpace = 0, cpuSeconds = 0, waitSeconds = 0;
};

ReadingLimits LimitsFor(std::string_view bytes) {
  ReadingLimits l;
  const std::uint64_t fileBytes = bytes.size();
  // ADF stores arrays as written: they fit the file, and become doubles of twice the bytes at
  // most. HDF5 may compress them: the machine's memory bounds what they stand for.
  const bool adf = bytes.substr(0, 24) == "@(#)ADF Database Version";
  l.arrays = adf ? fileBytes : PhysicalMemory();
  // The program's libraries and those of CGNS and HDF5, the rows, and one array read at a time.
  l.addressSpace = (std::uint64_t{2} << 30) + (adf ? 4 * fileBytes : 2 * l.arrays);
  l.cpuSeconds = 30 + fileBytes / (std::uint64_t{16} << 20);
  l.waitSeconds = 2 * l.cpuSeconds + 10;
  return l;
}

// A descriptor of `fd` other than `avoid`, for handing on at a fixed number.
int AwayFrom(int fd, int avoid, std::vector<int>& opened) {
  if (fd != avoid) return fd;
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 200);
  if (moved < 0) throw CorvaneError("CGNS ファイルを読むプロセスを始められません");
  opened.push_back(moved);
  return moved;
}

// How a wait for the reading process ended: with its wait status, or with the process killed.
struct Waited {
  enum class End { Exited, TimedOut, Aborted } end = End::Exited;
  int status = 0;
};

// Waits for `pid` at most `seconds`, and calls `onReady` once when `readyFd` brings a byte; kills
// the process past that time, when the abort command is given, or when `onReady` throws. An
// abort flag already up when the wait starts is not this load's (as for the text reader).
Waited WaitFor(pid_t pid, std::uint64_t seconds, const Progress& progress, int readyFd,
               const std::function<void()>& onReady) {
  const bool abortAtStart = progress.AbortRequested();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  auto end = [&](bool kill) {
    int status = 0;
    if (kill) ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (pidfd >= 0) ::close(pidfd);
    return status;
  };
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) {
      if (pidfd >= 0) ::close(pidfd);
      return {Waited::End::Exited, done == pid ? status : 0};
    }
    if (std::chrono::steady_clock::now() > deadline) {
      end(true);
      return {Waited::End::TimedOut};
    }
    if (!abortAtStart && progress.AbortRequested()) {
      end(true);
      return {Waited::End::Aborted};
    }
    struct pollfd p[2] = {{readyFd, POLLIN, 0}, {pidfd, POLLIN, 0}};
    const int count = pidfd >= 0 ? 2 : 1;
    if (::poll(p, static_cast<nfds_t>(count), pidfd >= 0 ? 100 : 2) > 0 && readyFd >= 0 && (p[0].revents & (POLLIN | POLLHUP))) {
      char byte = 0;
      const ssize_t got = ::read(readyFd, &byte, 1);
      readyFd = -1;  // one message at most; a closed pipe says nothing
      if (got == 1) {
        try {
          onReady();
        } catch (...) {
          end(true);
          throw;
        }
      }
    }
  }
}

std::string Crashed(const std::string& path, const std::string& how) {
  return "CGNS ファイル " + path + ": CGNS ライブラリがこのファイルで異常終了しました (" + how + ")";
}

// A mapping of the shared file, released however the load ends.
struct SharedMapping {
  void* at = MAP_FAILED;
  std::size_t bytes = 0;
  ~SharedMapping() {
    if (at != MAP_FAILED) ::munmap(at, bytes);
  }
};

struct Descriptors {
  std::vector<int> fds;
  ~Descriptors() {
    for (int fd : fds) ::close(fd);
  }
};

// The bytes of a stream as a temporary file for the library, which opens files by name (and
// again and again), removed however the load ends.
class TemporaryCopy {
 public:
  TemporaryCopy(std::string_view bytes, const std::string& shown) {
    const char* dir = std::getenv("TMPDIR");
    path_ = std::string(dir && *dir ? dir : "/tmp") + "/corvane-cgns-XXXXXX";
    const int fd = ::mkstemp(path_.data());
    if (fd < 0) {
      path_.clear();
      throw CorvaneError("CGNS ファイル " + shown + " を一時ファイルに書けません: " + std::strerror(errno));
    }
    bool written = true;
    for (std::size_t done = 0; done < bytes.size() && written;) {
      const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (w < 0 && errno == EINTR) continue;
      written = w > 0;
      if (written) done += static_cast<std::size_t>(w);
    }
    ::close(fd);
    if (!written) throw CorvaneError("CGNS ファイル " + shown + " を一時ファイル " + path_ + " に書けません");
  }
  ~TemporaryCopy() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The data set a description calls for, zeroed, with what the load tells about its source.
struct Frame {
  SourceInfo source;
  FieldDataSet data;
  int fileVariables = 0;
  bool addPrimitive = true;  // only conservative variables: the flow variables are added
  int conservative[4] = {0, 0, 0, 0};
};

Frame MakeFrame(const std::string& path, const CgnsContent& content, int step) {
  Frame f;
  SourceInfo& source = f.source;
  if (content.times.size() > 1) source.times = content.times;
  source.step = step;
  source.format = DataFileFormat::Cgns;
  source.baseNames = content.baseNames;
  source.baseName = content.baseNames.front();
  source.solutionName = content.solutionName;
  source.cellCentred = content.cellCentred;
  std::vector<ZoneSize> sizes;
  for (const CgnsContent::Zone& z : content.zones) {
    sizes.push_back(z.size);
    source.zoneNames.push_back(z.name);
  }
  std::vector<std::string> variables = content.variables;
  for (int k = 0; k < 4; ++k) {
    auto it = std::find(variables.begin(), variables.end(), kConservativeNames[k]);
    f.conservative[k] = static_cast<int>(it - variables.begin());
    f.addPrimitive = f.addPrimitive && it != variables.end();
  }
  for (const char* velocity : {"VelocityX", "VelocityY"})
    if (std::find(variables.begin(), variables.end(), velocity) != variables.end()) f.addPrimitive = false;
  f.fileVariables = static_cast<int>(variables.size());
  if (f.addPrimitive) variables.insert(variables.end(), std::begin(kPrimitiveNames), std::end(kPrimitiveNames));
  f.data = NewFieldFrame(path, sizes, variables, source.zoneNames);
  if (source.cellCentred) source.status = "セル中心の解を格子点の値へ平均しました";
  if (source.baseNames.size() > 1) {
    const std::string which = "ベースが" + std::to_string(source.baseNames.size()) + "個あります。1番目の \"" +
                              source.baseName + "\" を読みました";
    source.status = source.status.empty() ? which : which + "。" + source.status;
  }
  return f;
}

}  // namespace

namespace {
std::mutex readerProgramMutex;
std::string readerProgram = "/proc/self/exe";

std::string ReaderProgram() {
  const std::lock_guard<std::mutex> lock(readerProgramMutex);
  return readerProgram;
}
}  // namespace

void SetCgnsReaderProgram(const std::string& path) {
  const std::lock_guard<std::mutex> lock(readerProgramMutex);
  readerProgram = path;
}

bool IsCgnsReaderProcess(int argc, char** argv) { return argc > 1 && std::strcmp(argv[1], kCgnsReaderFlag) == 0; }

void RunCgnsReaderProcess(int argc, char** argv) {
  // program flag open-path shown-path result-fd array-limit address-space cpu-seconds step
  if (argc != 9) std::_Exit(3);
  const int out = static_cast<int>(ParseNumber(argv[4]));
  const std::uint64_t arrays = ParseNumber(argv[5]);
  Limit(RLIMIT_CORE, 0);
  Limit(RLIMIT_CPU, ParseNumber(argv[7]));
#if !defined(__SANITIZE_ADDRESS__)
  Limit(RLIMIT_AS, ParseNumber(argv[6]));  // the address sanitizer reserves terabytes for itself
#endif
  if (std::getenv(kCgnsReaderAbortVariable)) std::abort();
  const std::string shown = argv[3];
  try {
    void* rows = MAP_FAILED;
    std::uint64_t rowsBytes = 0;
    ReadCgnsWithLibrary(argv[2], shown, arrays, static_cast<int>(ParseNumber(argv[8])), [&](const CgnsContent& content) -> double* {
      const std::string text = Describe(content);
      std::uint64_t nodes = 0;
      for (const CgnsContent::Zone& z : content.zones) nodes += static_cast<std::uint64_t>(z.size.ni * z.size.nj);
      const std::uint64_t rowsOffset = (kHeaderBytes + text.size() + 4095) / 4096 * 4096;
      rowsBytes = (2 + content.variables.size()) * nodes * sizeof(double);
      if (::ftruncate(out, static_cast<off_t>(rowsOffset + rowsBytes)) != 0) throw std::bad_alloc();
      WriteAll(out, text.data(), text.size(), kHeaderBytes);
      WriteHeader(out, kUnfinished, text.size(), rowsOffset, rowsBytes);
      if (::write(kReadyFd, "d", 1) < 0) {
      }  // no one listening: the rows come all the same
      // Made in one go: cheaper than a fault for each page as the rows fill.
      rows = ::mmap(nullptr, rowsBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, out,
                    static_cast<off_t>(rowsOffset));
      if (rows == MAP_FAILED) throw std::bad_alloc();
      return static_cast<double*>(rows);
    });
    SharedHeader h{};
    if (::pread(out, &h, sizeof h, 0) != static_cast<ssize_t>(sizeof h)) std::_Exit(4);
    if (rows != MAP_FAILED) ::munmap(rows, rowsBytes);
    WriteHeader(out, kDone, h.textBytes, h.rowsOffset, h.rowsBytes);
  } catch (const CorvaneError& e) {
    Refuse(out, e.what());
  } catch (const std::bad_alloc&) {
    Refuse(out, "CGNS ファイル " + shown + " を読み込むためのメモリが足りません");
  }
  // Ended at once: the library keeps what it read of a refused file, and nothing else is left
  // to do (a leak checker would only report the library's tables).
  std::_Exit(0);
}

std::optional<FileContents> LoadCgnsFile(const std::string& path, const LoadOptions& options,
                                         Notifier& notifier, Progress& progress, int step) {
  const MappedFile file(path);
  return LoadCgnsFile(file, options, notifier, progress, step);
}

std::vector<double> CgnsStepTimes(const std::string& path) {
  SilentNotifier notifier;
  NullProgress progress;
  const std::optional<FileContents> first = LoadCgnsFile(path, LoadOptions(), notifier, progress, 0);
  if (!first) return {};
  return first->data.Empty() || first->source.times.empty() ? std::vector<double>{0.0} : first->source.times;
}

std::optional<FileContents> LoadCgnsFile(const MappedFile& file, const LoadOptions& options, Notifier& /*notifier*/,
                                         Progress& progress, int step) {
  const std::string& path = file.Path();
  try {
    if (step < 0) throw CorvaneError("CGNS ファイル " + path + ": " + std::to_string(step + 1) + " 番目の時刻はありません");
    progress.SetPosition(0);
    progress.SetStatus("データ読み込み中…");
    Descriptors own;
    const int shared = ::memfd_create("corvane-cgns", MFD_CLOEXEC);
    if (shared < 0) throw CorvaneError("CGNS ファイル " + path + " を読むための共有メモリを作れません");
    own.fds.push_back(shared);
    int ready[2] = {-1, -1};
    if (::pipe2(ready, O_CLOEXEC) != 0) throw CorvaneError("CGNS ファイル " + path + " を読むプロセスを始められません");
    own.fds.push_back(ready[0]);

    // The reading process is this program again; a stream's bytes are handed on as a file.
    const ReadingLimits limits = LimitsFor(file.Bytes());
    std::optional<TemporaryCopy> copy;
    if (file.FromStream()) copy.emplace(file.Bytes(), path);
    const std::string openPath = copy ? copy->Path() : path;
    const std::string numbers[] = {std::to_string(kResultFd), std::to_string(limits.arrays),
                                   std::to_string(limits.addressSpace), std::to_string(limits.cpuSeconds),
                                   std::to_string(step)};
    std::vector<std::string> args = {"corvane", kCgnsReaderFlag, openPath, path};
    args.insert(args.end(), std::begin(numbers), std::end(numbers));
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int readyWrite = AwayFrom(AwayFrom(ready[1], kResultFd, own.fds), kReadyFd, own.fds);
    posix_spawn_file_actions_adddup2(&actions, AwayFrom(AwayFrom(shared, kResultFd, own.fds), kReadyFd, own.fds), kResultFd);
    posix_spawn_file_actions_adddup2(&actions, readyWrite, kReadyFd);
    // The libraries print their own complaints; the reason reaches the user through the result.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const std::string program = ReaderProgram();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    if (spawned != 0)
      throw CorvaneError("CGNS ファイル " + path + " を読むプロセスを始められません: " + std::strerror(spawned));

    // The header and the description, read (and never trusted) as soon as they are written.
    auto header = [&] {
      SharedHeader h{};
      struct stat st {};
      if (::fstat(shared, &st) != 0 || static_cast<std::uint64_t>(st.st_size) < kHeaderBytes ||
          ::pread(shared, &h, sizeof h, 0) != static_cast<ssize_t>(sizeof h) ||
          std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.textBytes > static_cast<std::uint64_t>(st.st_size) - kHeaderBytes)
        throw CorvaneError(Crashed(path, "結果が壊れています"));
      return std::pair<SharedHeader, std::uint64_t>(h, static_cast<std::uint64_t>(st.st_size));
    };
    auto text = [&](const SharedHeader& h) {
      std::string t(static_cast<std::size_t>(h.textBytes), '\0');
      if (::pread(shared, t.data(), t.size(), kHeaderBytes) != static_cast<ssize_t>(t.size()))
        throw CorvaneError(Crashed(path, "結果が壊れています"));
      return t;
    };
    std::optional<Frame> frame;
    auto describe = [&] {
      const SharedHeader h = header().first;
      try {
        frame.emplace(MakeFrame(path, ReadDescription(text(h)), step));
      } catch (const std::out_of_range&) {
        throw CorvaneError(Crashed(path, "結果が壊れています"));
      }
    };
    const Waited waited = WaitFor(pid, limits.waitSeconds, progress, ready[0], describe);
    if (waited.end == Waited::End::Aborted) {
      progress.SetStatus(kLoadAbortedText);
      return std::nullopt;
    }
    if (waited.end == Waited::End::TimedOut)
      throw CorvaneError(Crashed(path, std::to_string(limits.waitSeconds) + " 秒以内に終わりませんでした"));
    if (WIFSIGNALED(waited.status)) {
      const int sig = WTERMSIG(waited.status);
      throw CorvaneError(Crashed(path, sig == SIGXCPU || sig == SIGKILL ? "時間の上限を超えました"
                                                                        : "シグナル " + std::to_string(sig) + ", " + strsignal(sig)));
    }
    if (!WIFEXITED(waited.status) || WEXITSTATUS(waited.status) != 0)
      throw CorvaneError(Crashed(path, "終了コード " + std::to_string(WEXITSTATUS(waited.status))));

    const auto [h, size] = header();
    if (h.status == kRefused) throw CorvaneError(text(h));
    if (h.status != kDone || h.rowsOffset > size || h.rowsBytes > size - h.rowsOffset || h.rowsOffset % 4096)
      throw CorvaneError(Crashed(path, "結果が途中で終わっています"));
    if (!frame) describe();
    FieldDataSet& data = frame->data;
    const std::size_t nodes = static_cast<std::size_t>(data.NodeCount);
    if (h.rowsBytes != (2 + static_cast<std::uint64_t>(frame->fileVariables)) * nodes * sizeof(double))
      throw CorvaneError(Crashed(path, "結果の大きさが合いません"));
    SharedMapping map;
    map.bytes = static_cast<std::size_t>(h.rowsBytes);
    if (map.bytes) {
      map.at = ::mmap(nullptr, map.bytes, PROT_READ, MAP_SHARED | MAP_POPULATE, shared, static_cast<off_t>(h.rowsOffset));
      if (map.at == MAP_FAILED) throw CorvaneError("CGNS ファイル " + path + " を読み込むためのメモリが足りません");
    }
    const double* rows = static_cast<const double*>(map.at);
    std::copy(rows, rows + nodes, data.X.begin());
    std::copy(rows + nodes, rows + 2 * nodes, data.Y.begin());
    for (int v = 0; v < frame->fileVariables; ++v)
      std::copy(rows + (2 + v) * nodes, rows + (3 + v) * nodes, data.Values[static_cast<std::size_t>(v)].begin());
    if (frame->addPrimitive)
      PrimitiveFromConservative(data, frame->conservative, frame->fileVariables, options.gammaBox, options.RBox);
    if (!frame->source.status.empty()) progress.SetStatus(frame->source.status);
    return FinishRead(std::move(data), std::move(frame->source), frame->fileVariables > 0);
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
