#include "flv/Mp3Frame.h"

#include <cstdint>

namespace flv {
namespace {

// kbit/s by [MPEG-1?][layer 1..3][index 1..14]; index 0 is free format, 15 is invalid.
constexpr uint16_t kBitrates[2][3][15] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
};
// Hz by [version bits][index]; version bits 1 is reserved.
constexpr uint32_t kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

}  // namespace

std::size_t Mp3FrameLength(std::string_view bytes) {
  if (bytes.size() < 4) return 0;
  const auto* h = reinterpret_cast<const unsigned char*>(bytes.data());
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return 0;
  const int version = (h[1] >> 3) & 3;  // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1
  const int layer = 4 - ((h[1] >> 1) & 3);
  const int bitrateIndex = h[2] >> 4;
  const int rateIndex = (h[2] >> 2) & 3;
  const int padding = (h[2] >> 1) & 1;
  if (version == 1 || layer == 4 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
    return 0;
  }
  const bool mpeg1 = version == 3;
  const uint32_t bitrate = kBitrates[mpeg1][layer - 1][bitrateIndex] * 1000u;
  const uint32_t rate = kSampleRates[version][rateIndex];
  if (layer == 1) return (12 * bitrate / rate + padding) * 4;
  const uint32_t factor = (layer == 3 && !mpeg1) ? 72 : 144;
  return factor * bitrate / rate + padding;
}

std::size_t WholeMp3Frames(std::string_view bytes) {
  std::size_t whole = 0;
  for (;;) {
    const std::size_t n = Mp3FrameLength(bytes.substr(whole));
    if (n == 0 || n > bytes.size() - whole) return whole;
    whole += n;
  }
}

}  // namespace flv
