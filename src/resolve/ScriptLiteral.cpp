#include "resolve/ScriptLiteral.h"

namespace resolve {
namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The code unit of `count` hex digits at `at`, or -1 when they are not all there.
long HexUnit(std::u16string_view s, std::size_t at, std::size_t count) {
  if (at + count > s.size()) return -1;
  long value = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const int d = HexDigit(s[at + k]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

bool IsOctal(char16_t c) { return c >= u'0' && c <= u'7'; }

}  // namespace

std::optional<std::u16string> EvaluateStringLiteral(std::u16string_view body) {
  std::u16string value;
  value.reserve(body.size());
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char16_t c = body[i];
    if (c == u'\'' || c == u'\r' || c == u'\n') return std::nullopt;
    if (c != u'\\') {
      value += c;
      continue;
    }
    if (++i == body.size()) return std::nullopt;  // the backslash would escape the closing quote
    const char16_t e = body[i];
    switch (e) {
      case u'\r':
      case u'\n':
        return std::nullopt;
      case u'b':
        value += u'\b';
        break;
      case u'f':
        value += u'\f';
        break;
      case u'n':
        value += u'\n';
        break;
      case u'r':
        value += u'\r';
        break;
      case u't':
        value += u'\t';
        break;
      case u'v':
        value += u'\v';
        break;
      case u'x':
      case u'u': {
        const std::size_t digits = e == u'x' ? 2 : 4;
        const long unit = HexUnit(body, i + 1, digits);
        if (unit < 0) {
          value +=
              e;  // without its digits the escape stands for the letter, as old engines read it
        } else {
          value += static_cast<char16_t>(unit);
          i += digits;
        }
        break;
      }
      default:
        if (IsOctal(e)) {
          // Legacy octal: up to three digits for 0-3 leads, two for 4-7, never above 0xFF.
          unsigned unit = e - u'0';
          const std::size_t maxDigits = e <= u'3' ? 3 : 2;
          for (std::size_t n = 1; n < maxDigits && i + 1 < body.size() && IsOctal(body[i + 1]);
               ++n) {
            unit = unit * 8 + (body[++i] - u'0');
          }
          value += static_cast<char16_t>(unit);
        } else {
          value += e;  // \' \" \\ and every other character stand for themselves
        }
    }
  }
  return value;
}

std::u16string Unescape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == u'%') {
      if (k + 1 < text.size() && text[k + 1] == u'u') {
        if (const long unit = HexUnit(text, k + 2, 4); unit >= 0) {
          out += static_cast<char16_t>(unit);
          k += 5;
          continue;
        }
      }
      if (const long unit = HexUnit(text, k + 1, 2); unit >= 0) {
        out += static_cast<char16_t>(unit);
        k += 2;
        continue;
      }
    }
    out += text[k];
  }
  return out;
}

}  // namespace resolve
