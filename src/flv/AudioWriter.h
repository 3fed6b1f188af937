#pragma once
// Turns the audio tags of one codec into an audio file on an Output, without re-encoding.
// Not thread-safe: one thread feeds a writer.

#include <cstdint>
#include <memory>
#include <string>

#include "flv/Codec.h"
#include "flv/FlvDemuxer.h"
#include "flv/Output.h"

namespace flv {

class AudioWriter {
 public:
  virtual ~AudioWriter() = default;
  // Writes the audio of one tag. A truncated tag contributes its whole frames only.
  // False on failure, with Error() saying why.
  virtual bool Write(const AudioTag& tag) = 0;
  // Completes the file (sizes, last page) after the last tag.
  virtual bool Finish() = 0;
  // Bytes of audio data written so far, headers and framing left out.
  int64_t AudioBytes() const { return audioBytes_; }
  const std::string& Error() const { return error_; }

 protected:
  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  bool WriteFailed() { return Fail("cannot write the audio file"); }

  int64_t audioBytes_ = 0;
  std::string error_;
};

std::unique_ptr<AudioWriter> MakeAudioWriter(Codec codec, Output& output);

}  // namespace flv
