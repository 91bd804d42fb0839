// 24-bit colours with red in the low byte (0x00BBGGRR), the layout every layer and file uses.
#pragma once
#include <cstdint>

namespace corvane {

using Colour = std::uint32_t;

constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

}  // namespace corvane
