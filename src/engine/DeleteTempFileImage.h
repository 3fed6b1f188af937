#pragma once
// The request that XL_DelTempFile reads, in the task description's layout
// (26564 bytes): the file name at 16532 and the save directory at 17572 as
// UTF-16LE through code page 936 with their terminator, zero-padded to 520
// bytes (a longer text is cut at a character boundary and keeps the
// terminator); byte 18360 is 5, byte 18372 is 1, every other byte 0.
// Pure function, any thread.

#include <string>
#include <string_view>

namespace engine {

std::string DeleteTempFileImage(std::string_view saveDirectory, std::string_view fileName);

}  // namespace engine
