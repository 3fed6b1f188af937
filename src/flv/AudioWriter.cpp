#include "flv/AudioWriter.h"

#include "flv/AdtsWriter.h"
#include "flv/Mp3Writer.h"
#include "flv/OggSpeexWriter.h"
#include "flv/WavWriter.h"

namespace flv {

std::unique_ptr<AudioWriter> MakeAudioWriter(Codec codec, Output& output) {
  switch (codec) {
    case Codec::kMp3:
      return std::make_unique<Mp3Writer>(output);
    case Codec::kAac:
      return std::make_unique<AdtsWriter>(output);
    case Codec::kPcm:
      return std::make_unique<WavWriter>(output);
    case Codec::kSpeex:
      return std::make_unique<OggSpeexWriter>(output);
  }
  return nullptr;
}

}  // namespace flv
