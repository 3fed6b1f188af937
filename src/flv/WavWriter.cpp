#include "flv/WavWriter.h"

#include <cstdint>
#include <limits>
#include <string>

namespace flv {
namespace {

constexpr std::size_t kHeaderSize = 44;
// The RIFF size field counts 36 header bytes, the data and a pad byte, in 32 bits.
constexpr int64_t kMaxData = std::numeric_limits<uint32_t>::max() - 36 - 1;

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string Header(const AudioFormat& format, int64_t dataSize) {
  // FLV rate codes: 5.5, 11, 22 and 44 kHz, all fractions of 44100.
  const uint32_t rate = 44100u >> (3 - format.rateCode);
  const uint32_t channels = format.stereo ? 2 : 1;
  const uint32_t bits = format.sixteenBit ? 16 : 8;
  const uint32_t blockAlign = channels * bits / 8;
  const auto data = static_cast<uint32_t>(dataSize);
  std::string h;
  h.reserve(kHeaderSize);
  h += "RIFF";
  PutLe(h, 36 + data + (data & 1), 4);
  h += "WAVEfmt ";
  PutLe(h, 16, 4);
  PutLe(h, 1, 2);  // integer PCM
  PutLe(h, channels, 2);
  PutLe(h, rate, 4);
  PutLe(h, rate * blockAlign, 4);
  PutLe(h, blockAlign, 2);
  PutLe(h, bits, 2);
  h += "data";
  PutLe(h, data, 4);
  return h;
}

}  // namespace

bool WavWriter::Write(const AudioTag& tag) {
  if (!format_) {
    format_ = tag.format;
    headerOffset_ = output_.Size();
    if (!output_.Write(Header(tag.format, 0))) return WriteFailed();
  } else if (!(tag.format == *format_)) {
    return Fail("the PCM format changes at offset " + std::to_string(tag.offset));
  }
  std::string_view samples = tag.body;
  if (tag.truncated) {
    // Keep whole sample frames: every channel of the last instant, or none of it.
    const std::size_t frame = (format_->stereo ? 2u : 1u) * (format_->sixteenBit ? 2u : 1u);
    samples = samples.substr(0, samples.size() / frame * frame);
  }
  if (audioBytes_ + static_cast<int64_t>(samples.size()) > kMaxData) {
    return Fail("the PCM audio is too long for a WAV file");
  }
  if (!output_.Write(samples)) return WriteFailed();
  audioBytes_ += static_cast<int64_t>(samples.size());
  return true;
}

bool WavWriter::Finish() {
  if (!format_) return true;
  if ((audioBytes_ & 1) != 0 && !output_.Write(std::string_view("\0", 1))) return WriteFailed();
  if (!output_.WriteAt(headerOffset_, Header(*format_, audioBytes_))) return WriteFailed();
  return true;
}

}  // namespace flv
