#pragma once
// The built flvtomp3, embedded in the program so it can write the tool into its folder at
// start. Any thread.

#include <string>
#include <string_view>

namespace flv {

// The tool's executable bytes.
std::string_view ExtractorImage();
// Writes the image to path (replacing a file there, even a running one) with the executable
// bit set. False on failure, leaving no partial file.
bool WriteExtractor(const std::string& path);

}  // namespace flv
