#pragma once
// File names from web pages made safe for one folder. Pure functions.

#include <cstddef>
#include <string>
#include <string_view>

namespace p2p {

// Longest name in UTF-8 bytes: NAME_MAX (255) minus the longest suffix the engine appends
// (".part.ctl.tmp"), so every file of a task fits.
inline constexpr std::size_t kMaxNameBytes = 242;
// Longest name in UTF-16 units that the 520-byte szFilename field can report.
inline constexpr std::size_t kMaxNameUnits = 259;

// One path component: "/", "\" and control characters become "_", "." and ".." become "_",
// an empty name becomes "download"; too long a name is shortened at a character boundary,
// keeping its extension.
std::string SafeFileName(std::string_view utf8);

// The n-th alternative of a safe name: n = 0 gives the name itself, n >= 1 "stem (n).ext",
// shortened like SafeFileName so it still fits.
std::string AlternativeName(const std::string& safeName, int n);

}  // namespace p2p
