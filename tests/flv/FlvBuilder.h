#pragma once
// Builds small FLV files for the tests, tag by tag, and the audio payloads they carry.

#include <cstdint>
#include <string>
#include <string_view>

namespace flvtest {

class FlvBuilder {
 public:
  FlvBuilder() {
    bytes_ = std::string("FLV\x01\x05\0\0\0\x09", 9);
    bytes_.append(4, '\0');  // size of the tag before the first: none
  }
  // An audio tag: the format byte, then body.
  FlvBuilder& Audio(unsigned char format, std::string_view body) {
    return Tag(8, std::string(1, static_cast<char>(format)) + std::string(body));
  }
  FlvBuilder& Video(std::string_view data) { return Tag(9, data); }
  FlvBuilder& Script(std::string_view data) { return Tag(18, data); }
  FlvBuilder& Raw(std::string_view bytes) {
    bytes_ += bytes;
    return *this;
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  FlvBuilder& Tag(int type, std::string_view data) {
    const auto size = static_cast<uint32_t>(data.size());
    bytes_.push_back(static_cast<char>(type));
    PutBe(size, 3);
    PutBe(timestamp_, 3);
    bytes_.push_back('\0');  // timestamp, upper byte
    bytes_.append(3, '\0');  // stream id
    bytes_ += data;
    PutBe(11 + size, 4);
    timestamp_ += 26;
    return *this;
  }
  void PutBe(uint32_t value, int n) {
    for (int i = n - 1; i >= 0; --i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }

  std::string bytes_;
  uint32_t timestamp_ = 0;
};

// Format bytes: sound format in the high nibble, then rate code, 16-bit, stereo.
constexpr unsigned char kMp3 = 0x2F;
constexpr unsigned char kAac = 0xAF;
constexpr unsigned char kPcm16Stereo44k = 0x3F;
constexpr unsigned char kPcm8Mono5k = 0x30;
constexpr unsigned char kNellymoser = 0x6E;
constexpr unsigned char kSpeex = 0xB2;

// A 417-byte MPEG-1 layer III frame (128 kbit/s, 44.1 kHz) whose body is filled with fill.
inline std::string Mp3Frame(char fill) {
  std::string frame("\xFF\xFB\x90\x00", 4);
  frame.append(413, fill);
  return frame;
}

}  // namespace flvtest
