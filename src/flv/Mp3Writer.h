#pragma once
// MP3: the frames exactly as the tags hold them, with no tag or info frame added.

#include "flv/AudioWriter.h"

namespace flv {

class Mp3Writer : public AudioWriter {
 public:
  explicit Mp3Writer(Output& output) : output_(output) {}
  bool Write(const AudioTag& tag) override;
  bool Finish() override { return true; }

 private:
  Output& output_;
};

}  // namespace flv
