#include "flv/AudioExtractor.h"

#include <memory>

#include "flv/AudioWriter.h"
#include "flv/FlvDemuxer.h"

namespace flv {
namespace {

Extraction Failed(std::string message) {
  Extraction e;
  e.message = std::move(message);
  return e;
}

}  // namespace

Extraction ExtractAudio(Input& input, const OpenOutput& openOutput, std::size_t blockSize) {
  FlvDemuxer demuxer(input, blockSize);
  if (demuxer.ReadHeader() != FlvDemuxer::Status::kTag) return Failed(demuxer.Message());

  Extraction result;
  std::unique_ptr<AudioWriter> writer;
  bool damaged = false;
  AudioTag tag;
  for (;;) {
    const FlvDemuxer::Status status = demuxer.NextAudio(tag);
    if (status == FlvDemuxer::Status::kError) return Failed(demuxer.Message());
    if (status == FlvDemuxer::Status::kDamaged) damaged = true;
    if (status != FlvDemuxer::Status::kTag) break;
    const std::optional<Codec> codec = CodecOf(tag.format.soundFormat);
    if (!writer) {
      if (!codec) {
        return Failed("the audio codec " + SoundFormatName(tag.format.soundFormat) +
                      " is not supported");
      }
      std::string error;
      Output* output = openOutput(*codec, error);
      if (!output) return Failed(error);
      writer = MakeAudioWriter(*codec, *output);
      result.codec = codec;
    } else if (codec != result.codec) {
      return Failed("the audio codec changes to " + SoundFormatName(tag.format.soundFormat) +
                    " at offset " + std::to_string(tag.offset));
    }
    if (!writer->Write(tag)) return Failed(writer->Error());
  }

  if (!writer) return Failed("the file holds no audio");
  if (!writer->Finish()) return Failed(writer->Error());
  result.audioBytes = writer->AudioBytes();
  if (result.audioBytes == 0) return Failed("the file holds no audio that can be written");
  if (damaged || demuxer.Truncated()) {
    result.outcome = Extraction::Outcome::kPartial;
    result.message = demuxer.Message() + "; kept the whole frames before it";
  } else {
    result.outcome = Extraction::Outcome::kComplete;
  }
  return result;
}

}  // namespace flv
