#include "readers/VtkBlocks.h"

#include <lz4.h>
#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "readers/VtkGrid.h"

namespace corvane {
namespace {

// The most a block may inflate (a block of zeros, with some room): one that claims more is
// damaged or made to exhaust memory.
std::uint64_t MaxInflation(VtkCompressor c) {
  switch (c) {
    case VtkCompressor::Zlib: return 1100;
    case VtkCompressor::Lz4: return 260;
    case VtkCompressor::Lzma: return 8000;
    case VtkCompressor::None: break;
  }
  return 1;
}

// What the lzma decoder may use for its dictionary; VTK's presets need a few MB.
constexpr std::uint64_t kLzmaMemory = std::uint64_t{192} << 20;

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Bytes of an array one after another: raw, or decoded from base64 quad by quad (a quad with
// padding ends a segment, so a header and its data encoded apart or together read the same).
class ByteSource {
 public:
  ByteSource(std::string_view s, bool base64, const std::function<void(const std::string&)>& fail)
      : s_(s), base64_(base64), fail_(fail) {}

  // An upper bound of the bytes left.
  std::uint64_t Available() const {
    const std::uint64_t left = s_.size() - p_;
    return base64_ ? left / 4 * 3 + 3 + pending_.size() : left;
  }

  void Take(std::uint64_t n, std::string& out) {
    if (n > Available()) fail_("長さ " + std::to_string(n) + " バイトのデータの途中でファイルが終わっています");
    out.clear();
    out.reserve(static_cast<std::size_t>(n));
    if (!base64_) {
      out.assign(s_.substr(p_, static_cast<std::size_t>(n)));
      p_ += static_cast<std::size_t>(n);
      return;
    }
    while (out.size() < n) {
      if (!pending_.empty()) {
        const std::size_t k = std::min<std::size_t>(pending_.size(), static_cast<std::size_t>(n - out.size()));
        out.append(pending_, 0, k);
        pending_.erase(0, k);
        continue;
      }
      int q[4];
      int got = 0;
      while (got < 4 && p_ < s_.size()) {
        const char c = s_[p_++];
        if (c == '=') {
          q[got++] = -2;
        } else if (static_cast<unsigned char>(c) > 32) {
          q[got] = Base64Value(c);
          if (q[got] < 0) fail_("base64 でない文字 '" + std::string(1, c) + "' があります");
          ++got;
        }
      }
      if (got < 4) fail_("base64 のデータが途中で終わっています");
      if (q[0] < 0 || q[1] < 0) fail_("base64 のデータが壊れています");
      const std::uint32_t bits = (static_cast<std::uint32_t>(q[0]) << 18) | (static_cast<std::uint32_t>(q[1]) << 12) |
                                 (static_cast<std::uint32_t>(q[2] < 0 ? 0 : q[2]) << 6) |
                                 static_cast<std::uint32_t>(q[3] < 0 ? 0 : q[3]);
      pending_ += static_cast<char>(bits >> 16);
      if (q[2] >= 0) pending_ += static_cast<char>((bits >> 8) & 0xFF);
      if (q[2] >= 0 && q[3] >= 0) pending_ += static_cast<char>(bits & 0xFF);
    }
  }

 private:
  std::string_view s_;
  std::size_t p_ = 0;
  bool base64_;
  std::string pending_;
  const std::function<void(const std::string&)>& fail_;
};

// Inflates one block into exactly `size` bytes at `out`; false when it does not give them.
bool Inflate(VtkCompressor c, const std::string& in, char* out, std::uint64_t size) {
  switch (c) {
    case VtkCompressor::Zlib: {
      uLongf length = static_cast<uLongf>(size);
      return uncompress(reinterpret_cast<Bytef*>(out), &length, reinterpret_cast<const Bytef*>(in.data()),
                        static_cast<uLong>(in.size())) == Z_OK &&
             length == size;
    }
    case VtkCompressor::Lz4:
      if (in.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()) || size > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
        return false;
      return LZ4_decompress_safe(in.data(), out, static_cast<int>(in.size()), static_cast<int>(size)) == static_cast<int>(size);
    case VtkCompressor::Lzma: {
      std::uint64_t memory = kLzmaMemory;
      std::size_t inAt = 0, outAt = 0;
      return lzma_stream_buffer_decode(&memory, 0, nullptr, reinterpret_cast<const std::uint8_t*>(in.data()), &inAt, in.size(),
                                       reinterpret_cast<std::uint8_t*>(out), &outAt, static_cast<std::size_t>(size)) == LZMA_OK &&
             outAt == size;
    }
    case VtkCompressor::None: break;
  }
  return false;
}

}  // namespace

bool VtkCompressorNamed(const std::string& name, VtkCompressor& compressor) {
  if (name.empty()) compressor = VtkCompressor::None;
  else if (name == "vtkZLibDataCompressor") compressor = VtkCompressor::Zlib;
  else if (name == "vtkLZ4DataCompressor") compressor = VtkCompressor::Lz4;
  else if (name == "vtkLZMADataCompressor") compressor = VtkCompressor::Lzma;
  else return false;
  return true;
}

const char* VtkCompressorLabel(VtkCompressor compressor) {
  switch (compressor) {
    case VtkCompressor::Zlib: return "zlib";
    case VtkCompressor::Lz4: return "lz4";
    case VtkCompressor::Lzma: return "lzma";
    case VtkCompressor::None: break;
  }
  return "";
}

std::string DecodeVtkBlocks(std::string_view data, const VtkBlockFormat& format, std::uint64_t wanted,
                            std::uint64_t elementSize, const std::function<void(const std::string&)>& fail) {
  ByteSource source(data, format.base64, fail);
  std::string bytes, buffer;
  const std::uint64_t headerBytes = static_cast<std::uint64_t>(format.headerBytes);
  auto header = [&] {
    source.Take(headerBytes, buffer);
    return VtkUnsigned(reinterpret_cast<const unsigned char*>(buffer.data()), format.headerBytes, format.bigEndian);
  };
  if (format.compressor == VtkCompressor::None) {
    const std::uint64_t n = header();
    if (n != wanted)
      fail("値は " + (n % elementSize ? std::to_string(n) + " バイト" : std::to_string(n / elementSize) + " 個") + " で、格子の " +
           std::to_string(wanted / elementSize) + " 個と合いません");
    source.Take(n, bytes);
    return bytes;
  }
  const std::uint64_t blocks = header(), blockSize = header(), last = header();
  if (blocks > source.Available() / headerBytes) fail("圧縮ブロックの数が不正です");
  std::vector<std::uint64_t> sizes(static_cast<std::size_t>(blocks));
  std::uint64_t compressed = 0;
  for (std::uint64_t& c : sizes) {
    c = header();
    if (c > source.Available()) fail("圧縮ブロックの長さ " + std::to_string(c) + " がファイルに収まりません");
    compressed += c;
  }
  if (blocks > 0 && (blockSize == 0 || last > blockSize)) fail("圧縮ブロックの大きさが不正です");
  if (blocks > 1 && blockSize > wanted / (blocks - 1)) fail("圧縮ブロックの大きさが不正です");
  const std::uint64_t total = blocks == 0 ? 0 : (blocks - 1) * blockSize + (last ? last : blockSize);
  if (total != wanted)
    fail("展開後の値は " + (total % elementSize ? std::to_string(total) + " バイト" : std::to_string(total / elementSize) + " 個") +
         " で、格子の " + std::to_string(wanted / elementSize) + " 個と合いません");
  if (compressed > source.Available() || total > compressed * MaxInflation(format.compressor) + 65536)
    fail("圧縮データの長さが不正です");
  bytes.resize(static_cast<std::size_t>(total));
  std::uint64_t at = 0;
  for (std::uint64_t k = 0; k < blocks; ++k) {
    source.Take(sizes[static_cast<std::size_t>(k)], buffer);
    const std::uint64_t expect = k + 1 == blocks && last ? last : blockSize;
    if (!Inflate(format.compressor, buffer, bytes.data() + at, expect))
      fail(std::string(VtkCompressorLabel(format.compressor)) + " の圧縮ブロック " + std::to_string(k) + " を展開できません");
    at += expect;
  }
  return bytes;
}

}  // namespace corvane
