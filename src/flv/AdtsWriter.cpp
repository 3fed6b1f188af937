#include "flv/AdtsWriter.h"

#include <cstdint>

namespace flv {
namespace {

constexpr std::size_t kHeaderSize = 7;
constexpr std::size_t kMaxFrame = (1u << 13) - 1;  // the 13-bit frame length field
constexpr int kSequenceHeader = 0;
constexpr int kRawFrame = 1;

class BitReader {
 public:
  explicit BitReader(std::string_view bytes) : bytes_(bytes) {}
  // nullopt past the end.
  std::optional<uint32_t> Read(int bits) {
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
      if (pos_ >= bytes_.size() * 8) return std::nullopt;
      const auto byte = static_cast<unsigned char>(bytes_[pos_ / 8]);
      value = (value << 1) | ((byte >> (7 - pos_ % 8)) & 1u);
      ++pos_;
    }
    return value;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

std::optional<uint32_t> ReadObjectType(BitReader& bits) {
  const auto type = bits.Read(5);
  if (type && *type == 31) {
    const auto ext = bits.Read(6);
    if (!ext) return std::nullopt;
    return 32 + *ext;
  }
  return type;
}

}  // namespace

std::optional<AdtsConfig> ParseAudioSpecificConfig(std::string_view asc, std::string& error) {
  BitReader bits(asc);
  auto type = ReadObjectType(bits);
  const auto frequency = bits.Read(4);
  const auto channels = bits.Read(4);
  if (!type || !frequency || !channels) {
    error = "the AAC sequence header is too short";
    return std::nullopt;
  }
  // Explicit SBR or PS: ADTS describes the core stream that follows.
  if (*type == 5 || *type == 29) {
    const auto extension = bits.Read(4);
    if (extension && *extension == 15) bits.Read(24);
    type = ReadObjectType(bits);
    if (!extension || !type) {
      error = "the AAC sequence header is too short";
      return std::nullopt;
    }
  }
  if (*type < 1 || *type > 4) {
    error = "AAC object type " + std::to_string(*type) + " cannot be written as ADTS";
    return std::nullopt;
  }
  if (*frequency > 12) {
    error = "the AAC sampling rate cannot be written as ADTS";
    return std::nullopt;
  }
  if (*channels < 1 || *channels > 7) {
    error = "the AAC channel layout cannot be written as ADTS";
    return std::nullopt;
  }
  AdtsConfig config;
  config.profile = static_cast<int>(*type) - 1;
  config.frequencyIndex = static_cast<int>(*frequency);
  config.channelConfig = static_cast<int>(*channels);
  return config;
}

std::array<char, 7> AdtsHeader(const AdtsConfig& config, std::size_t frameSize) {
  const auto length = static_cast<uint32_t>(frameSize + kHeaderSize);
  const auto channels = static_cast<uint32_t>(config.channelConfig);
  std::array<unsigned char, 7> h{};
  h[0] = 0xFF;
  h[1] = 0xF1;  // MPEG-4, layer 0, no CRC
  h[2] = static_cast<unsigned char>((config.profile << 6) | (config.frequencyIndex << 2) |
                                    (channels >> 2));
  h[3] = static_cast<unsigned char>(((channels & 3) << 6) | (length >> 11));
  h[4] = static_cast<unsigned char>((length >> 3) & 0xFF);
  h[5] = static_cast<unsigned char>(((length & 7) << 5) | 0x1F);  // buffer fullness 0x7FF:
  h[6] = 0xFC;                                                    // variable bit rate
  std::array<char, 7> out{};
  for (std::size_t i = 0; i < h.size(); ++i) out[i] = static_cast<char>(h[i]);
  return out;
}

bool AdtsWriter::Write(const AudioTag& tag) {
  // A cut frame cannot be decoded: leave it out.
  if (tag.truncated || tag.body.empty()) return true;
  const int packetType = static_cast<unsigned char>(tag.body[0]);
  const std::string_view payload = tag.body.substr(1);
  if (packetType == kSequenceHeader) {
    config_ = ParseAudioSpecificConfig(payload, error_);
    return config_.has_value();
  }
  if (packetType != kRawFrame || !config_ || payload.empty()) return true;
  if (payload.size() + kHeaderSize > kMaxFrame) {
    return Fail("the AAC frame at offset " + std::to_string(tag.offset) + " is too long for ADTS");
  }
  const auto header = AdtsHeader(*config_, payload.size());
  if (!output_.Write({header.data(), header.size()}) || !output_.Write(payload)) {
    return WriteFailed();
  }
  audioBytes_ += static_cast<int64_t>(payload.size());
  return true;
}

}  // namespace flv
