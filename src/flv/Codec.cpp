#include "flv/Codec.h"

#include <array>

namespace flv {

std::optional<Codec> CodecOf(int soundFormat) {
  switch (soundFormat) {
    case 0:  // PCM in the writer's byte order; files come from little-endian machines
    case 3:
      return Codec::kPcm;
    case 2:
    case 14:  // MP3 at 8 kHz
      return Codec::kMp3;
    case 10:
      return Codec::kAac;
    case 11:
      return Codec::kSpeex;
    default:
      return std::nullopt;
  }
}

std::string_view ExtensionOf(Codec codec) {
  switch (codec) {
    case Codec::kMp3:
      return ".mp3";
    case Codec::kAac:
      return ".aac";
    case Codec::kPcm:
      return ".wav";
    case Codec::kSpeex:
      return ".spx";
  }
  return {};
}

std::string SoundFormatName(int soundFormat) {
  static constexpr std::array<std::string_view, 16> kNames = {"linear PCM",
                                                              "ADPCM",
                                                              "MP3",
                                                              "linear PCM",
                                                              "Nellymoser 16 kHz",
                                                              "Nellymoser 8 kHz",
                                                              "Nellymoser",
                                                              "G.711 A-law",
                                                              "G.711 mu-law",
                                                              "reserved format 9",
                                                              "AAC",
                                                              "Speex",
                                                              "reserved format 12",
                                                              "reserved format 13",
                                                              "MP3 8 kHz",
                                                              "device-specific sound"};
  if (soundFormat < 0 || soundFormat >= static_cast<int>(kNames.size())) {
    return "sound format " + std::to_string(soundFormat);
  }
  return std::string(kNames[static_cast<std::size_t>(soundFormat)]);
}

}  // namespace flv
