#include "flv/Mp3Writer.h"

#include "flv/Mp3Frame.h"

namespace flv {

bool Mp3Writer::Write(const AudioTag& tag) {
  const std::string_view frames =
      tag.truncated ? tag.body.substr(0, WholeMp3Frames(tag.body)) : tag.body;
  if (!output_.Write(frames)) return WriteFailed();
  audioBytes_ += static_cast<int64_t>(frames.size());
  return true;
}

}  // namespace flv
