#pragma once
// MPEG audio frame headers, read only to find where whole frames end in a cut tag.
// Any thread.

#include <cstddef>
#include <string_view>

namespace flv {

// Length in bytes of the frame whose 4-byte header starts bytes, or 0 when bytes does not
// start with a valid header of a known length (free-format frames have none).
std::size_t Mp3FrameLength(std::string_view bytes);
// Length of the longest prefix of bytes made of whole frames.
std::size_t WholeMp3Frames(std::string_view bytes);

}  // namespace flv
