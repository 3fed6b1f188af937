#pragma once
// AAC: each raw frame behind a 7-byte ADTS header built from the stream's AudioSpecificConfig
// (the sequence header tag). Frames before the first sequence header cannot be described and
// are left out.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "flv/AudioWriter.h"

namespace flv {

struct AdtsConfig {
  int profile = 0;         // MPEG-4 audio object type minus 1: 0 Main, 1 LC, 2 SSR, 3 LTP
  int frequencyIndex = 0;  // index into the MPEG-4 sampling rate table
  int channelConfig = 0;   // 1..7
};

// Reads an AudioSpecificConfig. nullopt with a message when ADTS cannot carry that stream.
std::optional<AdtsConfig> ParseAudioSpecificConfig(std::string_view asc, std::string& error);
// The header of a frame of frameSize payload bytes; frameSize + 7 must be below 8192.
std::array<char, 7> AdtsHeader(const AdtsConfig& config, std::size_t frameSize);

class AdtsWriter : public AudioWriter {
 public:
  explicit AdtsWriter(Output& output) : output_(output) {}
  bool Write(const AudioTag& tag) override;
  bool Finish() override { return true; }

 private:
  Output& output_;
  std::optional<AdtsConfig> config_;
};

}  // namespace flv
