#pragma once
// The audio codecs the extractor can write without re-encoding, and the file extension each
// one gets. Any thread.

#include <optional>
#include <string>
#include <string_view>

namespace flv {

enum class Codec { kMp3, kAac, kPcm, kSpeex };

// The codec of an FLV sound format number, or nullopt when it is not one we write.
std::optional<Codec> CodecOf(int soundFormat);
// ".mp3", ".aac", ".wav" or ".spx".
std::string_view ExtensionOf(Codec codec);
// A readable name of an FLV sound format number, for messages.
std::string SoundFormatName(int soundFormat);

}  // namespace flv
