#pragma once
// Speex: an Ogg Speex stream (header packet, comment packet, then one audio packet per tag).
// FLV carries Speex as 16 kHz mono wideband, one 20 ms frame (320 samples) per tag; the
// granule positions count those samples.

#include <cstdint>
#include <string>
#include <string_view>

#include "flv/AudioWriter.h"

namespace flv {

class OggSpeexWriter : public AudioWriter {
 public:
  explicit OggSpeexWriter(Output& output) : output_(output) {}
  bool Write(const AudioTag& tag) override;
  bool Finish() override;

 private:
  // Laces a packet onto the open page, starting new pages when one fills up.
  bool AddPacket(std::string_view packet, int64_t granuleAfter);
  bool FlushPage(bool last);

  Output& output_;
  bool started_ = false;
  int64_t samples_ = 0;
  // The page being built.
  std::string segments_;
  std::string data_;
  int64_t pageGranule_ = -1;  // -1: no packet ends on this page
  bool continued_ = false;    // the page starts inside a packet
  uint32_t sequence_ = 0;
};

// The Ogg page checksum (polynomial 0x04C11DB7, not reflected, zero start), for tests too.
uint32_t OggCrc(std::string_view bytes);

}  // namespace flv
