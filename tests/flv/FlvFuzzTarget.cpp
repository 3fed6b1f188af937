// Fuzz target over the demuxer and the writers behind it: any input must end in a result,
// never in a crash, a hang or a read outside the input. The first byte picks the read block
// size, so tags also straddle block boundaries.

#include <cstddef>
#include <cstdint>
#include <string>

#include "flv/AudioExtractor.h"
#include "flv/MemoryInput.h"
#include "flv/MemoryOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t block = 16 + std::size_t{data[0]} * 64;
  flv::MemoryInput input({reinterpret_cast<const char*>(data) + 1, size - 1});
  flv::MemoryOutput output;
  flv::ExtractAudio(
      input, [&](flv::Codec, std::string&) -> flv::Output* { return &output; }, block);
  return 0;
}
