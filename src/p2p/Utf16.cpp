#include "Utf16.h"

namespace p2p {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Utf16FieldToUtf8(const unsigned char* field, std::size_t width) {
  std::string out;
  const std::size_t units = width / 2;
  auto unitAt = [field](std::size_t i) -> char16_t {
    return static_cast<char16_t>(field[2 * i] | (field[2 * i + 1] << 8));
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t u = unitAt(i);
    if (u == 0) break;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char16_t low = unitAt(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  return out;
}

char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  std::size_t len = 0;
  char32_t c = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + len > s.size()) {
    ++pos;
    return kReplacement;
  }
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[pos + k]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    c = (c << 6) | (b & 0x3F);
  }
  pos += len;
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  return c;
}

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < utf8.size();) n += NextCodePoint(utf8, pos) >= 0x10000 ? 2 : 1;
  return n;
}

void Utf8ToUtf16Field(std::string_view utf8, unsigned char* field, std::size_t width) {
  const std::size_t units = width / 2;
  if (units == 0) return;
  std::size_t at = 0;
  auto put = [&](char16_t u) {
    field[2 * at] = static_cast<unsigned char>(u & 0xFF);
    field[2 * at + 1] = static_cast<unsigned char>(u >> 8);
    ++at;
  };
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, pos);
    const std::size_t need = c >= 0x10000 ? 2 : 1;
    if (at + need > units - 1) break;  // keep room for the terminator
    if (need == 2) {
      put(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      put(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      put(static_cast<char16_t>(c));
    }
  }
  put(0);
}

}  // namespace p2p
