// Small hostile files and odd sources: refused with a message naming them, exit 1, in bounded
// memory; pipes and FIFOs read like files.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <zlib.h>

#include <QFileInfo>

#include <chrono>
#include <fstream>
#include <thread>

#include "CgnsFiles.h"
#include "TestSupport.h"

namespace {

struct BoundedRun {
  int status = -1;  // exit code; -1 for a signal
  std::string errors, output;
  long peakKb = 0;  // the largest resident size of the program or its reading process, in kB
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
// A refusal stays well under this (the program's libraries included).
constexpr long kPeakKb = kSanitized ? 400 * 1024 : 100 * 1024;

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return text;
}

// Runs the program with `args` under a 2 GB address-space limit (not under the address
// sanitizer, which reserves far more) and a CPU-time limit, `input` on its standard input.
BoundedRun RunBounded(const std::vector<std::string>& args, const std::string& input = {}) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC)) return {};
  const int childEnds[3] = {in[0], out[1], err[1]};  // the child's standard input, output and error
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (int fd = 0; fd < 3; ++fd) ::dup2(childEnds[fd], fd);
    const rlimit cpu{60, 60}, space{rlim_t{2} << 30, rlim_t{2} << 30};
    ::setrlimit(RLIMIT_CPU, &cpu);
    if (!kSanitized) ::setrlimit(RLIMIT_AS, &space);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<char*> argv{const_cast<char*>(CORVANE_BINARY)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(CORVANE_BINARY, argv.data());
    ::_exit(127);
  }
  for (int fd : childEnds) ::close(fd);
  std::thread feed([&] {
    if (!input.empty() && ::write(in[1], input.data(), input.size()) < 0) {
    }
    ::close(in[1]);
  });
  BoundedRun run;
  std::thread errors([&] { run.errors = ReadAll(err[0]); });
  run.output = ReadAll(out[0]);
  errors.join();
  feed.join();
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakKb = usage.ru_maxrss;
  return run;
}

// The tests write their files into a folder of their own.
class HostileFiles : public ::testing::Test, protected corvane::testing::TempFiles {};

// A text grid of one 2 × 3 zone, its size on line 0, labels on line 1, data from line 2.
const std::vector<std::string> kTextLayout = {"--set", "ZCountBox=1", "--set", "XYNumLineBox=0",
                                              "--set", "LabelLineBox=1", "--set", "DataStartLineBox=2"};
const std::string kTextGrid = "1 2\nx y p\n0 0 1\n0 1 2\n0 2 3\n1 0 4\n1 1 5\n1 2 6\n";

std::vector<std::string> Info(const std::string& path, std::vector<std::string> more = {}) {
  more.insert(more.begin(), {"info", path, "--settings", "/dev/null"});
  return more;
}

}  // namespace

TEST_F(HostileFiles, SizesBeyondWhatTheFileHoldsAreRefusedInBoundedMemory) {
  struct Case {
    std::string path, claimed;
    std::vector<std::string> extra;
  };
  const Case cases[] = {
      // 134 million nodes and 67 million blocks from repeat counts of a few bytes
      {Write("134217727 1 268435454*0", "one.xyz"), "134217727", {}},
      {Write("67108863 268435452*1", "many.xyz"), "67108863", {}},
      // a text grid of 2^31 - 1 nodes in 28 bytes, a Tecplot zone of 10^8 passive nodes in 56
      {Write("2147483646 0\nx y\n1.5 2.5\n", "claim.dat"), "2147483647", kTextLayout},
      {Write("VARIABLES=X,Y\nZONE I=10000,J=10000,PASSIVEVARLIST=[1-2]\n", "empty.dat"), "値が一つもありません", {}},
  };
  for (const Case& c : cases) {
    const BoundedRun run = RunBounded(Info(c.path, c.extra));
    EXPECT_TRUE(run.status == 1 && run.peakKb < kPeakKb) << c.path << ": " << run.status << ", " << run.peakKb << " kB";
    EXPECT_TRUE(run.errors.find(c.path) != std::string::npos && run.errors.find(c.claimed) != std::string::npos) << run.errors;
  }
}

// A .vts whose `pieces` pieces of n × n nodes each take their points and their `arrays` arrays
// from the same two zlib blocks of zeros at the same offsets: a few kB claiming gigabytes.
std::string SharedBlockVts(int n, int pieces, int arrays) {
  const std::uint32_t block = 32768;
  auto zeros = [](std::uint32_t bytes) {
    const std::string zero(bytes, '\0');
    uLongf size = compressBound(bytes);
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(zero.data()), bytes, 6);
    packed.resize(size);
    return packed;
  };
  const std::string packed = zeros(block);
  auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto blocks = [&](std::uint64_t bytes) {
    const std::uint32_t count = static_cast<std::uint32_t>((bytes + block - 1) / block), last = static_cast<std::uint32_t>(bytes % block);
    std::string head = u32(count) + u32(block) + u32(last), body;
    for (std::uint32_t k = 0; k < count; ++k) {
      const std::string one = k + 1 == count && last ? zeros(last) : packed;
      head += u32(static_cast<std::uint32_t>(one.size()));
      body += one;
    }
    return head + body;
  };
  const std::uint64_t nodes = std::uint64_t(n) * std::uint64_t(n);
  const std::string points = blocks(nodes * 12), values = blocks(nodes * 4);
  const std::string extent = "0 " + std::to_string(n - 1) + " 0 " + std::to_string(n - 1) + " 0 0";
  std::string xml = "<?xml version=\"1.0\"?>\n<VTKFile type=\"StructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" "
                    "compressor=\"vtkZLibDataCompressor\">\n<StructuredGrid WholeExtent=\"" + extent + "\">\n";
  for (int p = 0; p < pieces; ++p) {
    xml += "<Piece Extent=\"" + extent + "\"><PointData>";
    for (int a = 0; a < arrays; ++a)
      xml += "<DataArray type=\"Float32\" Name=\"P" + std::to_string(a) + "\" format=\"appended\" offset=\"" +
             std::to_string(points.size()) + "\"/>";
    xml += "</PointData><Points><DataArray type=\"Float32\" NumberOfComponents=\"3\" format=\"appended\" offset=\"0\"/></Points></Piece>\n";
  }
  return xml + "</StructuredGrid>\n<AppendedData encoding=\"raw\">_" + points + values + "\n</AppendedData>\n</VTKFile>\n";
}

TEST_F(HostileFiles, VtkFilesReusingTheirBytesOrSizesAreRefusedInBoundedTimeAndMemory) {
  const std::string one = Write(SharedBlockVts(700, 1, 1), "one.vts");
  std::string list = "<?xml version=\"1.0\"?>\n<VTKFile type=\"vtkMultiBlockDataSet\" version=\"1.0\"><vtkMultiBlockDataSet>\n";
  for (int k = 0; k < 100; ++k) list += "<DataSet index=\"" + std::to_string(k) + "\" file=\"one.vts\"/>\n";
  const std::pair<std::string, const char*> cases[] = {
      {Write(SharedBlockVts(1000, 100, 1), "pieces.vts"), "ありえない大きさ"},
      {Write(SharedBlockVts(1000, 1, 100), "arrays.vts"), "ありえない大きさ"},
      {Write(list + "</vtkMultiBlockDataSet></VTKFile>\n", "list.vtm"), "ありえない大きさ"},
  };
  for (const auto& [path, reason] : cases) {
    const auto start = std::chrono::steady_clock::now();
    const BoundedRun run = RunBounded(Info(path));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(run.status == 1 && run.peakKb < kPeakKb && seconds < 5) << path << ": " << run.status << ", " << run.peakKb << " kB, " << seconds << " s";
    EXPECT_TRUE(run.errors.find(path) != std::string::npos && run.errors.find(reason) != std::string::npos) << run.errors;
  }
  const BoundedRun loaded = RunBounded(Info(one));  // once, the same bytes are a grid of 490000 zero nodes
  EXPECT_EQ(loaded.status, 0) << loaded.errors;
}

TEST_F(HostileFiles, FoldersEndlessDevicesAndSilentFifosAreRefused) {
  const std::string fifo = dir.filePath("silent").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string folder = dir.path().toStdString();
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {Info("/dev/zero"), "装置"},
      {Info(folder), "フォルダ"},
      {Info(fifo), "書き込むプログラムがありません"},
  };
  for (const auto& [args, reason] : cases) {
    const BoundedRun run = RunBounded(args);
    EXPECT_TRUE(run.status == 1 && run.peakKb < kPeakKb) << args[1] << " " << args[3] << ": " << run.peakKb << " kB";
    EXPECT_NE(run.errors.find(reason), std::string::npos) << run.errors;
  }
}

TEST_F(HostileFiles, PipesAndFifosAreReadOnceToTheirEnd) {
  const BoundedRun piped = RunBounded(Info("/dev/stdin", kTextLayout), kTextGrid);
  EXPECT_TRUE(piped.status == 0 && piped.output.find("NodeCount: 6") != std::string::npos) << piped.errors;

  const std::string fifo = dir.filePath("feed").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << kTextGrid; });  // opens once a reader has
  const BoundedRun fed = RunBounded(Info(fifo, kTextLayout));
  writer.join();
  EXPECT_TRUE(fed.status == 0 && fed.output.find("NodeCount: 6") != std::string::npos) << fed.errors;

  // Formats found by their content are read from the same bytes: a Tecplot, a legacy VTK and a
  // CGNS grid (by its HDF5 signature).
  const std::string cgns = dir.filePath("piped.cgns").toStdString();
  corvane::testing::WriteCgns(cgns, {{"Wing", 6, 5, false, {"Density", "Pressure"}}}, CG_FILE_HDF5);
  const std::pair<std::string, const char*> streams[] = {
      {"VARIABLES = X Y P\nZONE I=3, J=2\n0 0 1\n1 0 2\n2 0 3\n0 1 4\n1 1 5\n2 1 6\n", "NodeCount: 6"},
      {"# vtk DataFile Version 3.0\nt\nASCII\nDATASET STRUCTURED_GRID\nDIMENSIONS 2 2 1\nPOINTS 4 float\n"
       "0 0 0 1 0 0 0 1 0 1 1 0\nPOINT_DATA 4\nSCALARS P float 1\nLOOKUP_TABLE default\n1 2 3 4\n",
       "NodeCount: 4"},
      {corvane::testing::ReadFile(QString::fromStdString(cgns)).toStdString(), "NodeCount: 30"}};
  for (const auto& [text, nodes] : streams) {
    const BoundedRun run = RunBounded(Info("/dev/stdin"), text);
    EXPECT_TRUE(run.status == 0 && run.output.find(nodes) != std::string::npos) << run.errors << run.output;
  }
}

// Many zones cost time in proportion to their number.
TEST_F(HostileFiles, ManyTecplotZonesLoadInTime) {
  std::string many = "VARIABLES = X Y\n";
  for (int z = 0; z < 100000; ++z) many += "ZONE I=1\n" + std::to_string(z) + " 0\n";
  const std::string manyPath = Write(many, "many.dat");
  const auto start = std::chrono::steady_clock::now();
  const BoundedRun run = RunBounded(Info(manyPath));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_TRUE(run.status == 0 && run.output.find("ZoneCount: 100000") != std::string::npos) << run.errors;
  EXPECT_LT(seconds, kSanitized ? 30.0 : 5.0);
}

// The picture size from the settings is bounded as --size is, not cut to the bound.
TEST_F(HostileFiles, PictureSizesFromTheSettingsAreBounded) {
  const std::string grid = Write(kTextGrid, "grid.dat");
  const std::string settings = Write("PICTURE WIDTH\n2147483647\nPICTURE HEIGHT\n300\n", "crv.ini");
  std::vector<std::string> args = {"render", grid, "--settings", settings, "-o", dir.filePath("out.png").toStdString()};
  args.insert(args.end(), kTextLayout.begin(), kTextLayout.end());
  const BoundedRun run = RunBounded(args);
  EXPECT_TRUE(run.status == 1 && run.peakKb < kPeakKb) << run.status << ", " << run.peakKb << " kB";
  EXPECT_TRUE(run.errors.find("2147483647") != std::string::npos && run.errors.find("crv.ini") != std::string::npos) << run.errors;
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.png")));
}
