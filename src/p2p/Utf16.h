#pragma once
// UTF-16LE fields of the records <-> UTF-8 strings for the file system. Pure functions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace p2p {

// Decodes the UTF-16LE text at field (width bytes) up to its first zero unit, never past the
// field. Unpaired surrogates become U+FFFD.
std::string Utf16FieldToUtf8(const unsigned char* field, std::size_t width);

// The number of UTF-16 units text needs (invalid UTF-8 bytes count as one U+FFFD each).
std::size_t Utf16Length(std::string_view utf8);

// Writes text as UTF-16LE with a terminating zero unit into field (width bytes, even). A text
// that does not fit is cut at a character boundary; the terminator is always written.
void Utf8ToUtf16Field(std::string_view utf8, unsigned char* field, std::size_t width);

// Decodes one character of utf8 at pos; advances pos. Invalid bytes give U+FFFD.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);

}  // namespace p2p
