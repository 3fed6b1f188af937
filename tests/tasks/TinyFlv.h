#pragma once
// Small FLV files for tests: a header, then tags of MP3 audio or of video.

#include <cstdint>
#include <string>

namespace taskstest {

// One MPEG-1 Layer III frame, 128 kbit/s at 44.1 kHz: 417 bytes.
inline std::string Mp3Frame(char fill) {
  std::string frame("\xFF\xFB\x90\x64", 4);
  frame.append(413, fill);
  return frame;
}

inline std::string FlvTag(std::uint8_t type, std::uint32_t timestamp, const std::string& data) {
  const auto size = static_cast<std::uint32_t>(data.size());
  std::string tag;
  tag += static_cast<char>(type);
  tag += static_cast<char>(size >> 16);
  tag += static_cast<char>(size >> 8);
  tag += static_cast<char>(size);
  tag += static_cast<char>(timestamp >> 16);
  tag += static_cast<char>(timestamp >> 8);
  tag += static_cast<char>(timestamp);
  tag += static_cast<char>(timestamp >> 24);
  tag.append(3, '\0');  // stream id
  tag += data;
  const std::uint32_t previous = 11 + size;
  tag += static_cast<char>(previous >> 24);
  tag += static_cast<char>(previous >> 16);
  tag += static_cast<char>(previous >> 8);
  tag += static_cast<char>(previous);
  return tag;
}

// An FLV with `frames` MP3 audio tags (one frame each); *audio gets the frames
// as the extractor writes them. Without frames it holds one video tag only.
inline std::string TinyFlv(int frames, std::string* audio = nullptr) {
  const bool hasAudio = frames > 0;
  std::string flv("FLV\x01", 4);
  flv += static_cast<char>(hasAudio ? 0x04 : 0x01);
  flv += std::string("\x00\x00\x00\x09", 4);
  flv += std::string(4, '\0');  // size of the tag before the first
  if (!hasAudio) {
    return flv + FlvTag(9, 0, std::string("\x17\x01\x00\x00\x00", 5) + std::string(32, 'v'));
  }
  for (int i = 0; i < frames; ++i) {
    const std::string frame = Mp3Frame(static_cast<char>('a' + i % 26));
    if (audio) *audio += frame;
    // 0x2F: MP3, 44 kHz, 16-bit, stereo.
    flv += FlvTag(8, static_cast<std::uint32_t>(i * 26), std::string("\x2F", 1) + frame);
  }
  return flv;
}

}  // namespace taskstest
