#pragma once

#include <string>
#include <string_view>

namespace resolve {

// A GET of the address with every option of WebRequest omitted; the body up to
// its first zero byte, unconverted. Empty when nothing came. Blocks; any thread.
std::string FetchPage(std::string_view url);

}  // namespace resolve
