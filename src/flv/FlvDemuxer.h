#pragma once
// Reads an FLV file tag by tag from an Input and hands out its audio tags. It holds one
// block of the file at a time (plus one audio tag when a tag is bigger than the block), so
// memory stays constant whatever the file size; offsets are 64-bit. Video and script tags
// are skipped unread where the input can seek.
// Not thread-safe: one thread owns a demuxer and its Input.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "flv/Input.h"

namespace flv {

// The first byte of an audio tag's data, split into its fields.
struct AudioFormat {
  int soundFormat = 0;  // 2 MP3, 3 PCM little-endian, 10 AAC, 11 Speex, ...
  int rateCode = 0;     // 0 5.5 kHz, 1 11 kHz, 2 22 kHz, 3 44 kHz
  bool sixteenBit = false;
  bool stereo = false;
  bool operator==(const AudioFormat&) const = default;
};

struct AudioTag {
  AudioFormat format;
  std::string_view body;   // the tag's data after the format byte; valid until the next call
  int64_t offset = 0;      // file offset of the tag header
  bool truncated = false;  // the input ended inside this tag: body is what there was
};

class FlvDemuxer {
 public:
  enum class Status {
    kTag,      // tag filled in
    kEnd,      // the input ended between tags
    kDamaged,  // a tag header that cannot be right; Message() says where
    kError,    // not an FLV, or a read error; Message() says which
  };

  explicit FlvDemuxer(Input& input, std::size_t blockSize = std::size_t{1} << 19);

  // Reads the file header. kTag when it is an FLV header.
  Status ReadHeader();
  // The next audio tag that has data. After a truncated tag it returns kEnd.
  Status NextAudio(AudioTag& tag);
  // After kEnd: whether the input ended inside a tag rather than between two.
  bool Truncated() const { return truncated_; }
  const std::string& Message() const { return message_; }
  // File offset of the next unread byte.
  int64_t Offset() const { return consumed_; }

 private:
  // Makes at least n bytes available at the read position (fewer only at the end or on error).
  std::size_t Fill(std::size_t n);
  std::string_view Available() const;
  void Consume(std::size_t n);
  bool SkipBytes(int64_t n);

  Input& input_;
  std::unique_ptr<char[]> block_;
  std::size_t capacity_;
  std::size_t begin_ = 0;  // read position in block_
  std::size_t end_ = 0;    // end of valid bytes in block_
  int64_t consumed_ = 0;
  bool trailerPending_ = false;  // the size field after the last tag handed out
  bool ended_ = false;
  bool truncated_ = false;
  bool readError_ = false;
  std::string message_;
};

}  // namespace flv
