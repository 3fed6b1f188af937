#include "text/Text.h"

#include <array>
#include <cmath>
#include <limits>

namespace text {
namespace {

bool IsLead(unsigned char c) { return c >= 0x80; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(std::string_view h, std::size_t i, std::string_view n, bool ignoreCase) {
  if (!ignoreCase) return h.compare(i, n.size(), n) == 0;
  for (std::size_t k = 0; k < n.size(); ++k) {
    if (FoldAscii(h[i + k]) != FoldAscii(n[k])) return false;
  }
  return true;
}

// Byte length of the character that starts at i: two for a lead byte that has a
// byte after it, else one.
std::size_t CharLength(std::string_view s, std::size_t i) {
  return (IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

bool IsSpaceAt(std::string_view s, std::size_t i) {
  if (s[i] == ' ') return true;
  return static_cast<unsigned char>(s[i]) == 0xA1 && i + 1 < s.size() &&
         static_cast<unsigned char>(s[i + 1]) == 0xA1;
}

const std::string& QuotePlaceholder() {
  static const std::string placeholder = Gbk("#引号");
  return placeholder;
}

}  // namespace

std::int64_t Find(std::string_view haystack, std::string_view needle, std::int64_t start,
                  bool ignoreCase) {
  if (start < 1) start = 1;
  std::size_t i = static_cast<std::size_t>(start - 1);
  if (i > haystack.size()) return -1;
  if (needle.empty()) return start;
  if (ignoreCase) {
    while (i + needle.size() <= haystack.size()) {
      if (MatchesAt(haystack, i, needle, true)) return static_cast<std::int64_t>(i) + 1;
      i += CharLength(haystack, i);
    }
    return -1;
  }
  // A byte search proposes a candidate; stepping character by character from a
  // known character start tells whether the candidate is one. A byte below 0x40
  // can only be a character of its own (trail bytes are 0x40 or above), so the
  // character after the last such byte before the candidate is a start too.
  for (;;) {
    const std::size_t candidate = haystack.find(needle, i);
    if (candidate == std::string_view::npos) return -1;
    for (std::size_t k = candidate; k > i; --k) {
      if (static_cast<unsigned char>(haystack[k - 1]) < 0x40) {
        i = k;
        break;
      }
    }
    while (i < candidate) i += CharLength(haystack, i);
    if (i == candidate) return static_cast<std::int64_t>(i) + 1;
  }
}

bool Contains(std::string_view haystack, std::string_view needle, bool ignoreCase) {
  return Find(haystack, needle, 1, ignoreCase) > 0;
}

std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, std::int64_t startPos, bool ignoreCase) {
  const std::string start = ReplaceAll(startMarker, QuotePlaceholder(), "\"");
  const std::string end = ReplaceAll(endMarker, QuotePlaceholder(), "\"");
  const std::int64_t p = Find(text, start, startPos, ignoreCase);
  if (p < 0) return {};
  const std::int64_t b = p + static_cast<std::int64_t>(start.size());
  const std::int64_t a = Find(text, end, b, ignoreCase);
  if (a < 0) return {};
  return std::string(text.substr(static_cast<std::size_t>(b - 1), static_cast<std::size_t>(a - b)));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                       bool ignoreCase) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::int64_t pos = 1;
  for (;;) {
    const std::int64_t hit = Find(text, from, pos, ignoreCase);
    if (hit < 0) break;
    out.append(text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(hit - pos)));
    out.append(to);
    pos = hit + static_cast<std::int64_t>(from.size());
  }
  out.append(text.substr(static_cast<std::size_t>(pos - 1)));
  return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  if (separator.empty()) {
    items.emplace_back(text);
    return items;
  }
  std::int64_t pos = 1;
  for (;;) {
    const std::int64_t hit = Find(text, separator, pos);
    if (hit < 0) break;
    items.emplace_back(
        text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(hit - pos)));
    pos = hit + static_cast<std::int64_t>(separator.size());
  }
  if (static_cast<std::size_t>(pos - 1) < text.size()) {
    items.emplace_back(text.substr(static_cast<std::size_t>(pos - 1)));
  }
  return items;
}

std::string Trim(std::string_view text) {
  std::size_t i = 0;
  std::size_t first = std::string_view::npos;
  std::size_t last = 0;  // one past the last character that is not a space
  while (i < text.size()) {
    const std::size_t len = CharLength(text, i);
    if (!IsSpaceAt(text, i)) {
      if (first == std::string_view::npos) first = i;
      last = i + len;
    }
    i += len;
  }
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, last - first));
}

std::string RemoveSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t len = CharLength(text, i);
    if (!IsSpaceAt(text, i)) out.append(text.substr(i, len));
    i += len;
  }
  return out;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) out[i] = FoldAscii(out[i]);
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
  }
  return out;
}

double LeadingNumber(std::string_view text, bool fullWidthDigits) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Digit value at i and its byte length, or -1.
  auto digitAt = [&](std::size_t k, std::size_t& len) -> int {
    if (k >= text.size()) return -1;
    if (text[k] >= '0' && text[k] <= '9') {
      len = 1;
      return text[k] - '0';
    }
    if (fullWidthDigits && k + 1 < text.size() && static_cast<unsigned char>(text[k]) == 0xA3) {
      const auto trail = static_cast<unsigned char>(text[k + 1]);
      if (trail >= 0xB0 && trail <= 0xB9) {
        len = 2;
        return trail - 0xB0;
      }
    }
    return -1;
  };
  double value = 0;
  std::size_t len = 0;
  for (int d; (d = digitAt(i, len)) >= 0; i += len) value = value * 10 + d;
  if (i < text.size() && text[i] == '.') {
    ++i;
    double scale = 0.1;
    for (int d; (d = digitAt(i, len)) >= 0; i += len, scale /= 10) value += d * scale;
  }
  return negative ? -value : value;
}

std::int32_t LeadingInteger(std::string_view text, bool fullWidthDigits) {
  const double v = std::trunc(LeadingNumber(text, fullWidthDigits));
  if (v >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (v <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(v);
}

std::uint32_t Crc32(std::string_view bytes) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace text
