#include "flv/OggSpeexWriter.h"

#include <array>

namespace flv {
namespace {

constexpr uint32_t kSerial = 0x56454C4D;
constexpr int64_t kSamplesPerPacket = 320;
constexpr std::size_t kPageTarget = 4096;  // close a page after about this much data
constexpr std::size_t kMaxSegments = 255;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
    table[i] = r;
  }
  return table;
}
constexpr auto kCrcTable = MakeCrcTable();

void PutLe(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string SpeexHeader() {
  std::string h = "Speex   ";
  std::string version = "1.2";
  version.resize(20, '\0');
  h += version;
  const int32_t fields[] = {1,      // header version
                            80,     // header size
                            16000,  // sample rate
                            1,      // mode: wideband
                            4,      // mode bitstream version
                            1,      // channels
                            -1,     // bit rate unknown
                            320,    // frame size
                            0,      // vbr
                            1,      // frames per packet
                            0,      // extra headers
                            0,     0};
  for (const int32_t f : fields) PutLe(h, static_cast<uint32_t>(f), 4);
  return h;
}

std::string CommentHeader() {
  const std::string_view vendor = "flvtomp3";
  std::string c;
  PutLe(c, vendor.size(), 4);
  c += vendor;
  PutLe(c, 0, 4);  // no user comments
  return c;
}

}  // namespace

uint32_t OggCrc(std::string_view bytes) {
  uint32_t crc = 0;
  for (const char ch : bytes) {
    crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ static_cast<unsigned char>(ch)) & 0xFF];
  }
  return crc;
}

bool OggSpeexWriter::Write(const AudioTag& tag) {
  // A cut packet cannot be decoded: leave it out.
  if (tag.truncated || tag.body.empty()) return true;
  if (!started_) {
    started_ = true;
    // The header and the comment each sit alone on their page; audio starts a fresh one.
    if (!AddPacket(SpeexHeader(), 0) || !FlushPage(false) || !AddPacket(CommentHeader(), 0) ||
        !FlushPage(false)) {
      return false;
    }
  }
  if (data_.size() >= kPageTarget && !FlushPage(false)) return false;
  samples_ += kSamplesPerPacket;
  if (!AddPacket(tag.body, samples_)) return false;
  audioBytes_ += static_cast<int64_t>(tag.body.size());
  return true;
}

bool OggSpeexWriter::Finish() { return segments_.empty() || FlushPage(true); }

bool OggSpeexWriter::AddPacket(std::string_view packet, int64_t granuleAfter) {
  for (;;) {
    if (segments_.size() == kMaxSegments && !FlushPage(false)) return false;
    const std::size_t n = std::min<std::size_t>(packet.size(), 255);
    segments_.push_back(static_cast<char>(n));
    data_.append(packet.substr(0, n));
    packet.remove_prefix(n);
    // A lacing value below 255 ends the packet (a zero one when its length is a multiple).
    if (n < 255) {
      pageGranule_ = granuleAfter;
      return true;
    }
  }
}

bool OggSpeexWriter::FlushPage(bool last) {
  std::string page = "OggS";
  page.push_back('\0');  // stream structure version
  page.push_back(
      static_cast<char>((continued_ ? 1 : 0) | (sequence_ == 0 ? 2 : 0) | (last ? 4 : 0)));
  PutLe(page, static_cast<uint64_t>(pageGranule_), 8);
  PutLe(page, kSerial, 4);
  PutLe(page, sequence_, 4);
  PutLe(page, 0, 4);  // checksum, filled in below
  page.push_back(static_cast<char>(segments_.size()));
  page += segments_;
  page += data_;
  const uint32_t crc = OggCrc(page);
  for (int i = 0; i < 4; ++i) page[22 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
  continued_ = !segments_.empty() && static_cast<unsigned char>(segments_.back()) == 255;
  segments_.clear();
  data_.clear();
  pageGranule_ = -1;
  ++sequence_;
  if (!output_.Write(page)) return WriteFailed();
  return true;
}

}  // namespace flv
