// The binary arrays of VTK XML files: a length header and the bytes, or a table of compressed
// blocks (zlib, lz4 or lzma) and the blocks, raw or encoded in base64.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

enum class VtkCompressor { None, Zlib, Lz4, Lzma };

// The compressor a VTKFile element names ("" for none, "vtkZLibDataCompressor", ...); false for
// one that is not known.
bool VtkCompressorNamed(const std::string& name, VtkCompressor& compressor);
// "zlib", "lz4", "lzma", or "" for none.
const char* VtkCompressorLabel(VtkCompressor compressor);

struct VtkBlockFormat {
  bool base64 = false;
  int headerBytes = 4;  // UInt32 or UInt64 headers
  bool bigEndian = false;
  VtkCompressor compressor = VtkCompressor::None;
};

// The `wanted` bytes of one array (`elementSize` bytes a value) that start at `data`. Every
// length in the headers is checked against the bytes there are and against `wanted` before
// anything is allocated; `fail` is called with what is wrong and must throw.
std::string DecodeVtkBlocks(std::string_view data, const VtkBlockFormat& format, std::uint64_t wanted,
                            std::uint64_t elementSize, const std::function<void(const std::string&)>& fail);

}  // namespace corvane
