#include "flv/FlvDemuxer.h"

#include <algorithm>
#include <cstring>

namespace flv {
namespace {

constexpr std::size_t kFileHeaderSize = 9;
constexpr std::size_t kTagHeaderSize = 11;
constexpr int64_t kTrailerSize = 4;  // the size of the previous tag, after every tag
constexpr int kAudioTag = 8;
constexpr int kVideoTag = 9;
constexpr int kScriptTag = 18;

uint32_t Be24(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return (uint32_t{u[0]} << 16) | (uint32_t{u[1]} << 8) | u[2];
}

uint32_t Be32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return (uint32_t{u[0]} << 24) | Be24(p + 1);
}

AudioFormat ParseFormat(unsigned char b) {
  AudioFormat f;
  f.soundFormat = b >> 4;
  f.rateCode = (b >> 2) & 3;
  f.sixteenBit = (b & 2) != 0;
  f.stereo = (b & 1) != 0;
  return f;
}

}  // namespace

FlvDemuxer::FlvDemuxer(Input& input, std::size_t blockSize)
    : input_(input),
      block_(std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(blockSize, 16))),
      capacity_(std::max<std::size_t>(blockSize, 16)) {}

std::size_t FlvDemuxer::Fill(std::size_t n) {
  if (end_ - begin_ >= n) return n;
  if (ended_) return end_ - begin_;
  if (capacity_ < n) {
    // A tag bigger than the block: grow to hold it (tags are at most 16 MiB).
    auto bigger = std::make_unique_for_overwrite<char[]>(n);
    std::memcpy(bigger.get(), block_.get() + begin_, end_ - begin_);
    block_ = std::move(bigger);
    capacity_ = n;
  } else if (begin_ > 0) {
    std::memmove(block_.get(), block_.get() + begin_, end_ - begin_);
  }
  end_ -= begin_;
  begin_ = 0;
  while (end_ < n) {
    const int64_t got = input_.Read(block_.get() + end_, static_cast<int64_t>(capacity_ - end_));
    if (got <= 0) {
      readError_ = got < 0;
      ended_ = true;
      break;
    }
    end_ += static_cast<std::size_t>(got);
  }
  return std::min(n, end_ - begin_);
}

std::string_view FlvDemuxer::Available() const { return {block_.get() + begin_, end_ - begin_}; }

void FlvDemuxer::Consume(std::size_t n) {
  begin_ += n;
  consumed_ += static_cast<int64_t>(n);
}

bool FlvDemuxer::SkipBytes(int64_t n) {
  const auto buffered = static_cast<int64_t>(std::min<std::size_t>(end_ - begin_, n));
  Consume(static_cast<std::size_t>(buffered));
  n -= buffered;
  if (n == 0) return true;
  if (ended_) return false;
  const int64_t skipped = input_.Skip(n);
  if (skipped < 0) {
    readError_ = true;
    ended_ = true;
    return false;
  }
  consumed_ += skipped;
  if (skipped < n) ended_ = true;
  return skipped == n;
}

FlvDemuxer::Status FlvDemuxer::ReadHeader() {
  const std::size_t got = Fill(kFileHeaderSize);
  const std::string_view head = Available();
  if (readError_) {
    message_ = "read error";
    return Status::kError;
  }
  if (got < kFileHeaderSize || head.substr(0, 3) != "FLV") {
    message_ = "not an FLV file";
    return Status::kError;
  }
  const uint32_t headerSize = Be32(head.data() + 5);
  if (headerSize < kFileHeaderSize) {
    message_ = "not an FLV file (bad header size)";
    return Status::kError;
  }
  Consume(kFileHeaderSize);
  SkipBytes(int64_t{headerSize} - static_cast<int64_t>(kFileHeaderSize) + kTrailerSize);
  return Status::kTag;
}

FlvDemuxer::Status FlvDemuxer::NextAudio(AudioTag& tag) {
  if (trailerPending_) {
    trailerPending_ = false;
    // A file that ends just before this field has lost nothing.
    SkipBytes(kTrailerSize);
  }
  for (;;) {
    const std::size_t got = Fill(kTagHeaderSize);
    if (readError_) {
      message_ = "read error at offset " + std::to_string(consumed_ + static_cast<int64_t>(got));
      return Status::kError;
    }
    if (got == 0) return Status::kEnd;
    const int64_t offset = consumed_;
    if (got < kTagHeaderSize) {
      truncated_ = true;
      message_ = "the file ends inside the tag at offset " + std::to_string(offset);
      Consume(got);
      return Status::kEnd;
    }
    const char* head = Available().data();
    const int type = static_cast<unsigned char>(head[0]) & 0x1F;
    const bool encrypted = (head[0] & 0x20) != 0;
    const uint32_t dataSize = Be24(head + 1);
    if (type != kAudioTag && type != kVideoTag && type != kScriptTag) {
      message_ = "damaged tag header at offset " + std::to_string(offset);
      return Status::kDamaged;
    }
    if (type != kAudioTag || dataSize == 0) {
      Consume(kTagHeaderSize);
      if (!SkipBytes(dataSize)) {
        if (readError_) continue;  // reported at the top of the loop
        truncated_ = true;
        message_ = "the file ends inside the tag at offset " + std::to_string(offset);
        return Status::kEnd;
      }
      SkipBytes(kTrailerSize);
      continue;
    }
    if (encrypted) {
      message_ = "encrypted audio at offset " + std::to_string(offset) + " is not supported";
      return Status::kError;
    }
    const std::size_t tagSize = kTagHeaderSize + dataSize;
    const std::size_t have = Fill(tagSize);
    if (readError_) continue;
    const std::string_view bytes = Available().substr(0, have);
    Consume(have);
    tag.offset = offset;
    tag.truncated = have < tagSize;
    if (tag.truncated) {
      truncated_ = true;
      message_ = "the file ends inside the tag at offset " + std::to_string(offset);
      if (have == kTagHeaderSize) return Status::kEnd;
    } else {
      trailerPending_ = true;
    }
    tag.format = ParseFormat(static_cast<unsigned char>(bytes[kTagHeaderSize]));
    tag.body = bytes.substr(kTagHeaderSize + 1);
    return Status::kTag;
  }
}

}  // namespace flv
