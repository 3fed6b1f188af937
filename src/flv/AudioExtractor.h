#pragma once
// The extraction loop: demuxes an FLV from an Input and writes its audio stream, whose codec
// is known only at the first audio tag; the caller opens the Output then.
// Not thread-safe: one call runs on one thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "flv/Codec.h"
#include "flv/Input.h"
#include "flv/Output.h"

namespace flv {

struct Extraction {
  enum class Outcome {
    kComplete,  // all the audio was written
    kPartial,   // the file was cut or damaged; the audio before that point was written
    kFailed,    // nothing usable: message says why
  };
  Outcome outcome = Outcome::kFailed;
  std::optional<Codec> codec;
  int64_t audioBytes = 0;
  std::string message;  // why it failed, or what was lost for kPartial
};

// Returns the Output for the stream's codec, or nullptr with error set.
using OpenOutput = std::function<Output*(Codec codec, std::string& error)>;

// blockSize: how much of the input is read at a time.
Extraction ExtractAudio(Input& input, const OpenOutput& openOutput,
                        std::size_t blockSize = std::size_t{1} << 19);

}  // namespace flv
