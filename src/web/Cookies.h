#pragma once
// Cookie texts kept by a caller of WebRequest: items "name=value" joined by
// "; ". Pure functions of their arguments; any thread.

#include <string>
#include <string_view>

namespace web {

// Folds newly returned cookies into the kept text and returns the result, which
// is also left in cookies. New items come first in the order given, then the kept
// items whose names the new text did not mention; items ending in "=deleted" are
// dropped, repeated items removed. Both arguments lose every space (ASCII and
// ideographic), values included, as the merge has always done.
std::string MergeCookies(std::string& cookies, std::string& returnedCookies);

// The text before the first "=", trimmed; the whole item trimmed when it has none.
std::string CookieName(std::string_view item);

// The text with every item that equals an earlier one removed.
std::string UniqueItems(std::string_view text, std::string_view separator);

}  // namespace web
