#pragma once
// Where the extractor puts the audio of an FLV: beside it, with its base name and the codec's
// extension ("/a/b.flv" gives "/a/b.mp3"). Shared by flvtomp3 and ConvertFlv. Any thread.

#include <string>

#include "flv/Codec.h"

namespace flv {

std::string AudioPathFor(const std::string& flvPath, Codec codec);

}  // namespace flv
