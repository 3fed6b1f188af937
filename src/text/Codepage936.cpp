// Conversions between code page 936 and Unicode through two tables built once
// from glibc's CP936 converter. A table look-up per character keeps the hot
// paths (store reads every second, page conversion) free of converter state and
// safe on any thread.

#include <iconv.h>

#include <array>
#include <cstring>
#include <memory>

#include "text/Text.h"

namespace text {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

struct Tables {
  // GBK code (lead << 8 | trail, or the single byte) to UTF-16; 0 means invalid.
  std::array<char16_t, 65536> toUnicode{};
  // BMP code point to GBK code; 0 means code page 936 cannot hold it.
  std::array<std::uint16_t, 65536> fromUnicode{};
};

char16_t DecodeWithIconv(iconv_t cd, const unsigned char* in, std::size_t len) {
  char buffer[8];
  char* src = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
  char* dst = buffer;
  std::size_t left = len;
  std::size_t room = sizeof buffer;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &src, &left, &dst, &room) == static_cast<std::size_t>(-1) || left != 0) return 0;
  if (sizeof buffer - room != 2) return 0;  // outside the BMP: not in code page 936
  return static_cast<char16_t>(static_cast<unsigned char>(buffer[0]) |
                               (static_cast<unsigned char>(buffer[1]) << 8));
}

// Decodes count pairs into exactly count BMP units; false when any pair fails
// or the row yields anything else.
bool DecodeRow(iconv_t cd, const unsigned char* in, std::size_t len, char16_t* units,
               std::size_t count) {
  std::array<char16_t, 192> out{};  // room for more than count: more output means a bad row
  char* src = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
  char* dst = reinterpret_cast<char*>(out.data());
  std::size_t left = len;
  std::size_t room = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &src, &left, &dst, &room) == static_cast<std::size_t>(-1) || left != 0 ||
      sizeof out - room != count * 2) {
    return false;
  }
  std::memcpy(units, out.data(), count * 2);
  return true;
}

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = [] {
    auto t = std::make_unique<Tables>();
    for (unsigned c = 0; c < 0x80; ++c) {
      t->toUnicode[c] = static_cast<char16_t>(c);
      t->fromUnicode[c] = static_cast<std::uint16_t>(c);
    }
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) return t;
    const unsigned char euro = 0x80;
    if (char16_t u = DecodeWithIconv(cd, &euro, 1)) {
      t->toUnicode[0x80] = u;
      t->fromUnicode[u] = 0x80;
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      // One converter call per lead byte; a row with an undefined pair is
      // decoded pair by pair instead.
      std::array<unsigned char, 2 * 190> row{};
      std::array<unsigned, 190> trails{};
      std::size_t n = 0;
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        row[2 * n] = static_cast<unsigned char>(lead);
        row[2 * n + 1] = static_cast<unsigned char>(trail);
        trails[n++] = trail;
      }
      std::array<char16_t, 190> units{};
      if (!DecodeRow(cd, row.data(), row.size(), units.data(), n)) {
        for (std::size_t k = 0; k < n; ++k) units[k] = DecodeWithIconv(cd, &row[2 * k], 2);
      }
      for (std::size_t k = 0; k < n; ++k) {
        const char16_t u = units[k];
        if (u == 0) continue;
        const auto code = static_cast<std::uint16_t>(lead << 8 | trails[k]);
        t->toUnicode[code] = u;
        if (t->fromUnicode[u] == 0) t->fromUnicode[u] = code;
      }
    }
    iconv_close(cd);
    return t;
  }();
  return *tables;
}

bool AllAscii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

void AppendGbk(std::string& out, char32_t cp, const Tables& tables) {
  const std::uint16_t code = cp < 0x10000 ? tables.fromUnicode[cp] : 0;
  if (cp == 0) {
    out.push_back('\0');
  } else if (code == 0) {
    out.push_back('?');
  } else if (code < 0x100) {
    out.push_back(static_cast<char>(code));
  } else {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at i; an invalid or incomplete one yields U+FFFD
// and consumes its maximal valid prefix (at least one byte).
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  std::size_t need;
  char32_t cp;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2, cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3, cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    ++i;
    return kReplacement;
  }
  ++i;
  for (std::size_t k = 0; k < need; ++k) {
    if (i >= s.size()) return kReplacement;
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < lo || b > hi) return kReplacement;
    lo = 0x80, hi = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  return cp;
}

// Decodes one GBK character at i to UTF-16 (invalid bytes give "?").
char16_t NextGbk(std::string_view s, std::size_t& i, const Tables& t) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  if (b0 >= 0x81 && b0 <= 0xFE && i + 1 < s.size()) {
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if (const char16_t u = t.toUnicode[b0 << 8 | b1]) {
      i += 2;
      return u;
    }
  }
  ++i;
  const char16_t single = t.toUnicode[b0];
  return single ? single : u'?';
}

}  // namespace

// Length of the run of ASCII bytes that starts at i.
std::size_t AsciiRun(std::string_view s, std::size_t i) {
  std::size_t k = i;
  while (k < s.size() && static_cast<unsigned char>(s[k]) < 0x80) ++k;
  return k - i;
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (AllAscii(utf8)) return std::string(utf8);
  const Tables& tables = GetTables();
  // No character takes more bytes in code page 936 than in UTF-8, so the
  // output fits in the input's size.
  std::string out(utf8.size(), '\0');
  char* o = out.data();
  const std::uint16_t* fromUnicode = tables.fromUnicode.data();
  for (std::size_t i = 0; i < utf8.size();) {
    // Eight ASCII bytes at a time through the markup between the text.
    std::uint64_t word;
    if (i + sizeof word <= utf8.size() &&
        (std::memcpy(&word, utf8.data() + i, sizeof word), (word & 0x8080808080808080u) == 0)) {
      std::memcpy(o, &word, sizeof word);
      o += sizeof word;
      i += sizeof word;
      continue;
    }
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {
      *o++ = static_cast<char>(b0);
      ++i;
      continue;
    }
    char32_t cp;
    // The common three-byte form (most CJK text) decoded in place; every other
    // form, and anything invalid, takes the careful path.
    if (b0 >= 0xE1 && b0 <= 0xEF && b0 != 0xED && i + 2 < utf8.size() &&
        (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80 &&
        (static_cast<unsigned char>(utf8[i + 2]) & 0xC0) == 0x80) {
      cp = (static_cast<char32_t>(b0 & 0x0F) << 12) |
           (static_cast<char32_t>(utf8[i + 1] & 0x3F) << 6) |
           static_cast<char32_t>(utf8[i + 2] & 0x3F);
      i += 3;
    } else {
      cp = NextUtf8(utf8, i);
    }
    const std::uint16_t code = cp < 0x10000 ? fromUnicode[cp] : 0;
    if (code == 0) {
      *o++ = '?';
    } else if (code < 0x100) {
      *o++ = static_cast<char>(code);
    } else {
      *o++ = static_cast<char>(code >> 8);
      *o++ = static_cast<char>(code & 0xFF);
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  if (AllAscii(gbk)) return std::string(gbk);
  const Tables& tables = GetTables();
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (std::size_t i = 0; i < gbk.size();) {
    if (const std::size_t run = AsciiRun(gbk, i)) {
      out.append(gbk.substr(i, run));
      i += run;
      continue;
    }
    AppendUtf8(out, NextGbk(gbk, i, tables));
  }
  return out;
}

std::u16string GbkToUtf16(std::string_view gbk) {
  const Tables& tables = GetTables();
  std::u16string out;
  out.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size();) out.push_back(NextGbk(gbk, i, tables));
  return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
  const Tables& tables = GetTables();
  std::string out;
  out.reserve(utf16.size() * 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendGbk(out, cp, tables);
  }
  return out;
}

std::string WideToGbk(std::string_view littleEndianBytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < littleEndianBytes.size(); i += 2) {
    const auto u = static_cast<char16_t>(static_cast<unsigned char>(littleEndianBytes[i]) |
                                         static_cast<unsigned char>(littleEndianBytes[i + 1]) << 8);
    if (u == 0) break;
    units.push_back(u);
  }
  return Utf16ToGbk(units);
}

}  // namespace text
