#pragma once
// Decoding of escaped answers (site G's playlist JSON). Texts are code page 936
// byte strings. Pure functions; any thread.

#include <cstdint>
#include <string>
#include <string_view>

namespace resolve {

// The text read as the body of a single-quoted script string literal and passed
// through unescape; when that literal is invalid (or its value is empty) the
// PercentDecode reading of the text instead. Line breaks and apostrophes
// survive either way.
std::string UnescapeText(std::string_view text);

// "%u" + four bytes whose decimal reading is not 0, and "%" + two bytes, become
// the character of their HexValue; every other byte is copied. The decimal
// reading is deliberate: "%u00e9" and "%uabcd" stay as they are.
std::string PercentDecode(std::string_view text);

// Hexadecimal digits to a number; a byte that is no digit counts as -2.
// Wraps around beyond 64 bits.
std::int64_t HexValue(std::string_view digits);

}  // namespace resolve
