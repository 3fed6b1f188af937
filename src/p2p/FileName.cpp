#include "FileName.h"

#include "Utf16.h"

namespace p2p {
namespace {

constexpr std::size_t kMaxExtensionBytes = 16;

// The extension with its dot, when the name has a short one after a non-empty stem.
std::size_t ExtensionStart(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0 || name.size() - dot > kMaxExtensionBytes) {
    return name.size();
  }
  return dot;
}

// The longest prefix of stem (at character boundaries) such that prefix + tail fits both limits.
std::string Fit(std::string_view stem, std::string_view tail) {
  const std::size_t tailUnits = Utf16Length(tail);
  std::size_t bytes = tail.size();
  std::size_t units = tailUnits;
  std::size_t pos = 0;
  std::size_t keep = 0;
  while (pos < stem.size()) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(stem, pos);
    const std::size_t cu = c >= 0x10000 ? 2 : 1;
    if (bytes + (pos - start) > kMaxNameBytes || units + cu > kMaxNameUnits) break;
    bytes += pos - start;
    units += cu;
    keep = pos;
  }
  std::string out(stem.substr(0, keep));
  out.append(tail);
  return out;
}

}  // namespace

std::string SafeFileName(std::string_view utf8) {
  std::string name;
  name.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(utf8, pos);
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == '/' || c == '\\') {
      name += '_';
    } else if (c == 0xFFFD && pos - start == 1 && static_cast<unsigned char>(utf8[start]) >= 0x80) {
      name += "\xEF\xBF\xBD";  // an invalid byte: keep the name valid UTF-8
    } else {
      name.append(utf8.substr(start, pos - start));
    }
  }
  if (name.empty()) name = "download";
  if (name == "." || name == "..") name = "_";
  return AlternativeName(name, 0);
}

std::string AlternativeName(const std::string& safeName, int n) {
  const std::size_t ext = ExtensionStart(safeName);
  std::string tail = n > 0 ? " (" + std::to_string(n) + ")" : std::string();
  tail.append(safeName, ext, std::string::npos);
  if (safeName.size() <= kMaxNameBytes && n == 0 && Utf16Length(safeName) <= kMaxNameUnits) {
    return safeName;
  }
  std::string fitted = Fit(std::string_view(safeName).substr(0, ext), tail);
  // A name that is all extension and suffix still needs a stem, or "." rules could apply.
  if (fitted == tail && !fitted.empty() && fitted[0] == '.') fitted = "_" + fitted;
  return fitted;
}

}  // namespace p2p
