#pragma once
// Byte strings in code page 936 (GBK), the program's one text form.
//
// Positions are 1-based byte positions; a search that finds nothing gives -1.
// Searches match only at character starts: a byte of 0x80 or above starts a
// double-byte character together with the byte after it. Case folding touches
// the letters A-Z only. Trimming removes the ASCII space and the ideographic
// space (A1 A1), not tabs or line breaks. All functions are pure and may be
// called from any thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Position of the first match of needle at or after start (start below 1 counts
// as 1), or -1. An empty needle matches at start when start lies within the text.
std::int64_t Find(std::string_view haystack, std::string_view needle, std::int64_t start = 1,
                  bool ignoreCase = false);
bool Contains(std::string_view haystack, std::string_view needle, bool ignoreCase = false);

// The bytes strictly between the first startMarker at or after startPos and the
// first endMarker after it; empty when either is missing. "#引号" in a marker
// stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, std::int64_t startPos = 1,
                        bool ignoreCase = false);

// Every occurrence of from, left to right, replaced with to.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                       bool ignoreCase = false);

// Cut at every separator: an empty text gives no items, empty segments between
// separators are items, an empty segment after the last separator is dropped.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

std::string Trim(std::string_view text);
std::string RemoveSpaces(std::string_view text);
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);

// The leading decimal number of a text (leading spaces, an optional sign,
// digits, an optional fraction); 0 when there is none. With fullWidthDigits,
// the double-byte digits A3 B0 .. A3 B9 count as digits too.
double LeadingNumber(std::string_view text, bool fullWidthDigits = false);
// LeadingNumber cut to a whole number toward zero, clamped to the int32 range.
std::int32_t LeadingInteger(std::string_view text, bool fullWidthDigits = false);

// Conversions. Characters that code page 936 cannot hold become "?"; invalid
// UTF-8 becomes U+FFFD first (so "?" as well); bytes that are not valid GBK
// become "?" on the way to Unicode.
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);
std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);
// Bytes read as UTF-16LE code units up to the first zero unit, to code page 936.
std::string WideToGbk(std::string_view littleEndianBytes);

// A UTF-8 literal of the source code in code page 936 (source files are UTF-8).
inline std::string Gbk(std::string_view utf8Literal) { return Utf8ToGbk(utf8Literal); }

// CRC-32 of ISO-HDLC / IEEE 802.3 (reflected 0xEDB88320, init and final xor ~0).
std::uint32_t Crc32(std::string_view bytes);

}  // namespace text
