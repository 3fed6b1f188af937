#pragma once
// Small FLV files for the task tests, made with the extractor tests' builder.

#include <string>

#include "../flv/FlvBuilder.h"

namespace taskstest {

// An FLV with `frames` MP3 audio tags (one frame each); *audio gets the frames
// as the extractor writes them. Without frames it holds one video tag only.
inline std::string TinyFlv(int frames, std::string* audio = nullptr) {
  flvtest::FlvBuilder flv;
  if (frames <= 0) {
    return flv.Video(std::string("\x17\x01\x00\x00\x00", 5) + std::string(32, 'v')).Bytes();
  }
  for (int i = 0; i < frames; ++i) {
    const std::string frame = flvtest::Mp3Frame(static_cast<char>('a' + i % 26));
    if (audio) *audio += frame;
    flv.Audio(flvtest::kMp3, frame);
  }
  return flv.Bytes();
}

}  // namespace taskstest
