#include "resolve/Unescape.h"

#include <string>

#include "resolve/ScriptLiteral.h"
#include "text/Text.h"

namespace resolve {
namespace {

const std::string& CrLfPlaceholder() {
  static const std::string s = "{$}";
  return s;
}

// U+2019 stands in for the apostrophe, which would end the literal.
const std::string& ApostropheStandIn() {
  static const std::string s = text::Gbk("’");
  return s;
}

std::string CutAtZero(std::string s) {
  if (const std::size_t zero = s.find('\0'); zero != std::string::npos) s.resize(zero);
  return s;
}

// The eight little-endian bytes of a value, as a code unit sequence.
std::string EightBytes(std::int64_t value) {
  auto bits = static_cast<std::uint64_t>(value);
  std::string bytes(8, '\0');
  for (char& b : bytes) {
    b = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
  return bytes;
}

// Optional leading spaces, an optional sign, decimal digits; 0 without digits.
long DecimalReading(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = value * 10 + (s[i] - '0');
  return negative ? -value : value;
}

std::string ScriptRoute(const std::string& text) {
  const auto value = EvaluateStringLiteral(text::GbkToUtf16(text));
  if (!value) return {};
  return CutAtZero(text::Utf16ToGbk(Unescape(*value)));
}

}  // namespace

std::string UnescapeText(std::string_view input) {
  std::string t = text::ReplaceAll(input, "\r\n", CrLfPlaceholder());
  if (!t.empty() && t[0] == '\r') t.erase(0, 1);
  if (text::Contains(t, "\\u")) t = text::ReplaceAll(t, "\\u", "%u");
  t = text::ReplaceAll(t, "'", ApostropheStandIn());
  std::string taken = ScriptRoute(t);
  if (taken.empty()) taken = PercentDecode(t);
  taken = text::ReplaceAll(taken, ApostropheStandIn(), "'");
  return text::ReplaceAll(taken, CrLfPlaceholder(), "\r\n");
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t length = text.size();
  for (std::size_t i = 0; i < length;) {  // i is 0-based: position i + 1
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    if (i + 1 < length && text[i + 1] == 'u' && i + 6 <= length) {
      const std::string_view digits = text.substr(i + 2, 4);
      if (DecimalReading(digits) == 0) {
        out += text[i++];
      } else {
        out += text::WideToGbk(EightBytes(HexValue(digits)));
        i += 6;
      }
    } else if (i + 3 <= length) {
      out += text::WideToGbk(EightBytes(HexValue(text.substr(i + 1, 2))));
      i += 3;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::int64_t HexValue(std::string_view digits) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::uint64_t value = 0;
  for (const char c : text::UpperAscii(digits)) {
    const std::size_t d = kDigits.find(c);
    const std::uint64_t digit = d == std::string_view::npos ? static_cast<std::uint64_t>(-2) : d;
    value = value * 16 + digit;
  }
  return static_cast<std::int64_t>(value);
}

}  // namespace resolve
