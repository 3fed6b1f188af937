#pragma once
// Linear PCM: a RIFF WAVE file whose sizes are filled in by Finish. The format of the first
// tag holds for the file; a tag in another format fails, since WAV cannot change it midway.

#include <optional>

#include "flv/AudioWriter.h"

namespace flv {

class WavWriter : public AudioWriter {
 public:
  explicit WavWriter(Output& output) : output_(output) {}
  bool Write(const AudioTag& tag) override;
  bool Finish() override;

 private:
  Output& output_;
  std::optional<AudioFormat> format_;
  int64_t headerOffset_ = 0;
};

}  // namespace flv
