#pragma once
// The evaluation that site answers were once handed to a script engine for:
// the value of one single-quoted ECMAScript string literal, passed through the
// standard unescape function. Only those two rules; nothing else of the
// language. Pure functions; any thread.

#include <optional>
#include <string>
#include <string_view>

namespace resolve {

// The value of '<body>'; nullopt when such a literal is invalid: an unescaped
// "'", a carriage return or line feed, or a backslash as the last character.
std::optional<std::u16string> EvaluateStringLiteral(std::u16string_view body);

// Annex B unescape: "%uHHHH" and "%HH" become the code unit; any other "%" stays.
std::u16string Unescape(std::u16string_view text);

}  // namespace resolve
