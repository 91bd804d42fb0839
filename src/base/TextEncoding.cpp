#include "base/TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace corvane {

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = p + bytes.size();
  while (p < end) {
    // Most of a data file is ASCII: skip it eight bytes at a time.
    while (end - p >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      if (w & 0x8080808080808080ull) break;
      p += 8;
    }
    if (p >= end) break;
    unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more = 0;
    std::uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (end - p <= more) return false;
    for (int k = 1; k <= more; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[k] & 0x3F);
    }
    if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    p += more + 1;
  }
  return true;
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No converter: keep ASCII, mark everything else as unreadable.
    for (char c : bytes) out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : std::string("\xEF\xBF\xBD");
    return out;
  }
  std::string in(bytes);
  char* src = in.data();
  std::size_t srcLeft = in.size();
  out.resize(in.size() * 3 + 16);
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  while (srcLeft > 0) {
    std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == EILSEQ || errno == EINVAL) {
      // An invalid or truncated sequence: one replacement character, then go on after the byte.
      if (dstLeft < 3) break;
      std::memcpy(dst, "\xEF\xBF\xBD", 3);
      dst += 3;
      dstLeft -= 3;
      ++src;
      --srcLeft;
    } else {
      break;  // E2BIG cannot happen with three output bytes per input byte
    }
  }
  out.resize(out.size() - dstLeft);
  iconv_close(cd);
  return out;
}

}  // namespace corvane
