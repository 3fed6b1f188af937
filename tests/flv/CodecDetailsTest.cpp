// The parts of the writers that read codec headers: MPEG audio frame lengths (used to keep
// whole frames of a cut tag), AudioSpecificConfig for ADTS, and the Ogg pages of Speex.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flv/AdtsWriter.h"
#include "flv/AudioExtractor.h"
#include "flv/AudioPath.h"
#include "flv/FlvBuilder.h"
#include "flv/MemoryInput.h"
#include "flv/MemoryOutput.h"
#include "flv/Mp3Frame.h"
#include "flv/OggSpeexWriter.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (const int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(Mp3FrameTest, LengthFromHeader) {
  const struct {
    std::string header;
    std::size_t length;
  } cases[] = {
      {Bytes({0xFF, 0xFB, 0x90, 0x00}), 417},   // MPEG-1 layer III 128k 44.1 kHz
      {Bytes({0xFF, 0xFB, 0x92, 0x00}), 418},   // the same, padded
      {Bytes({0xFF, 0xFB, 0xE0, 0x00}), 1044},  // 320k 44.1 kHz
      {Bytes({0xFF, 0xFB, 0xE4, 0x00}), 960},   // 320k 48 kHz
      {Bytes({0xFF, 0xF3, 0x80, 0x00}), 208},   // MPEG-2 layer III 64k 22.05 kHz
      {Bytes({0xFF, 0xE3, 0x48, 0x00}), 288},   // MPEG-2.5 layer III 32k 8 kHz
      {Bytes({0xFF, 0xFD, 0x80, 0x00}), 417},   // MPEG-1 layer II 128k 44.1 kHz
      {Bytes({0xFF, 0xFF, 0x10, 0x00}), 32},    // MPEG-1 layer I 32k 44.1 kHz
      {Bytes({0xFF, 0xFB, 0x00, 0x00}), 0},     // free format: no length
      {Bytes({0xFF, 0xFB, 0xF0, 0x00}), 0},     // bad bit rate
      {Bytes({0xFF, 0xFB, 0x9C, 0x00}), 0},     // reserved sampling rate
      {Bytes({0xFF, 0xEB, 0x90, 0x00}), 0},     // reserved version
      {Bytes({0xFF, 0xF9, 0x90, 0x00}), 0},     // reserved layer
      {Bytes({0xFE, 0xFB, 0x90, 0x00}), 0},     // no sync
      {Bytes({0xFF, 0xFB, 0x90}), 0},           // short
  };
  for (const auto& c : cases) {
    EXPECT_EQ(flv::Mp3FrameLength(c.header), c.length) << testing::PrintToString(c.header);
  }
  const std::string two = flvtest::Mp3Frame('a') + flvtest::Mp3Frame('b');
  EXPECT_EQ(flv::WholeMp3Frames(two + "\xFF\xFB\x90"), two.size());
  EXPECT_EQ(flv::WholeMp3Frames(two.substr(0, 600)), 417u);
}

TEST(AdtsTest, AudioSpecificConfig) {
  const struct {
    std::string asc;
    int profile, frequencyIndex, channels;  // profile -1: not writable as ADTS
  } cases[] = {
      {Bytes({0x12, 0x10}), 1, 4, 2},                     // LC, 44.1 kHz, stereo
      {Bytes({0x11, 0x88}), 1, 3, 1},                     // LC, 48 kHz, mono
      {Bytes({0x2B, 0x11, 0x88}), 1, 6, 2},               // explicit SBR over LC at 24 kHz
      {Bytes({0x0A, 0x10}), 0, 4, 2},                     // Main
      {Bytes({0x12, 0x00}), -1, 0, 0},                    // channels from a program config element
      {Bytes({0x17, 0x80, 0x00, 0x00, 0x10}), -1, 0, 0},  // explicit sampling rate
      {Bytes({0xF8, 0x00, 0x00}), -1, 0, 0},              // escaped object type
      {Bytes({0x3A, 0x10}), -1, 0, 0},                    // object type 7
      {Bytes({0x12}), -1, 0, 0},                          // short
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.asc));
    std::string error;
    const auto config = flv::ParseAudioSpecificConfig(c.asc, error);
    if (c.profile < 0) {
      EXPECT_FALSE(config);
      EXPECT_FALSE(error.empty());
      continue;
    }
    ASSERT_TRUE(config) << error;
    EXPECT_EQ(config->profile, c.profile);
    EXPECT_EQ(config->frequencyIndex, c.frequencyIndex);
    EXPECT_EQ(config->channelConfig, c.channels);
  }
}

TEST(AudioPathTest, BaseNameAndCodecExtension) {
  const struct {
    const char* flv;
    flv::Codec codec;
    const char* audio;
  } cases[] = {
      {"/music/a.flv", flv::Codec::kMp3, "/music/a.mp3"},
      {"/music/a.b.flv", flv::Codec::kAac, "/music/a.b.aac"},
      {"/mu.sic/track", flv::Codec::kPcm, "/mu.sic/track.wav"},
      {"/music/.flv", flv::Codec::kSpeex, "/music/.flv.spx"},
      {"a b.FLV", flv::Codec::kMp3, "a b.mp3"},
  };
  for (const auto& c : cases) EXPECT_EQ(flv::AudioPathFor(c.flv, c.codec), c.audio);
}

struct OggPage {
  int flags;
  int64_t granule;
  uint32_t sequence;
  std::vector<std::string> packets;  // packets or pieces of them, as laced on this page
};

// Reads Ogg pages, checking each checksum; packets continued across pages are joined.
std::vector<OggPage> ReadPages(std::string_view bytes, std::vector<std::string>& packets) {
  std::vector<OggPage> pages;
  std::string partial;
  while (!bytes.empty()) {
    EXPECT_GE(bytes.size(), 27u);
    if (bytes.size() < 27 || bytes.substr(0, 4) != "OggS") {
      ADD_FAILURE() << "no page at " << bytes.size() << " bytes before the end";
      break;
    }
    const auto u = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    OggPage page;
    page.flags = u(5);
    page.granule = 0;
    for (int i = 7; i >= 0; --i) page.granule = (page.granule << 8) | u(6 + i);
    page.sequence = u(18) | (u(19) << 8) | (u(20) << 16) | (uint32_t{u(21)} << 24);
    const uint32_t crc = u(22) | (u(23) << 8) | (u(24) << 16) | (uint32_t{u(25)} << 24);
    const std::size_t segments = u(26);
    std::size_t size = 27 + segments;
    for (std::size_t i = 0; i < segments; ++i) size += u(27 + i);
    std::string copy(bytes.substr(0, size));
    copy.replace(22, 4, 4, '\0');
    EXPECT_EQ(flv::OggCrc(copy), crc) << "page " << page.sequence;
    std::size_t at = 27 + segments;
    for (std::size_t i = 0; i < segments; ++i) {
      partial.append(bytes.substr(at, u(27 + i)));
      at += u(27 + i);
      if (u(27 + i) < 255) {
        packets.push_back(partial);
        partial.clear();
      }
    }
    pages.push_back(page);
    bytes.remove_prefix(size);
  }
  EXPECT_TRUE(partial.empty());
  return pages;
}

TEST(OggSpeexTest, PacketsOnPagesWithChecksumsAndGranules) {
  // 40 small packets fill more than one page; the big one spans pages; the last is a
  // multiple of 255 bytes long, which needs a closing zero lacing value.
  std::vector<std::string> tags;
  for (int i = 0; i < 40; ++i)
    tags.push_back(std::string(120 + i, static_cast<char>('a' + i % 26)));
  tags.push_back(std::string(140000, 'B'));
  tags.push_back(std::string(510, 'C'));
  flvtest::FlvBuilder builder;
  for (const std::string& t : tags) builder.Audio(flvtest::kSpeex, t);
  flv::MemoryInput input(builder.Bytes());
  flv::MemoryOutput output;
  const flv::Extraction result =
      flv::ExtractAudio(input, [&](flv::Codec, std::string&) -> flv::Output* { return &output; });
  ASSERT_EQ(result.outcome, flv::Extraction::Outcome::kComplete) << result.message;

  std::vector<std::string> packets;
  const std::vector<OggPage> pages = ReadPages(output.Bytes(), packets);
  ASSERT_EQ(packets.size(), tags.size() + 2);
  EXPECT_EQ(packets[0].substr(0, 8), "Speex   ");
  EXPECT_EQ(packets[0].size(), 80u);
  for (std::size_t i = 0; i < tags.size(); ++i) EXPECT_EQ(packets[i + 2], tags[i]) << i;
  ASSERT_GE(pages.size(), 4u);
  EXPECT_EQ(pages.front().flags, 2);  // beginning of stream
  EXPECT_EQ(pages.back().flags & 4, 4);
  EXPECT_EQ(pages.back().granule, 320 * static_cast<int64_t>(tags.size()));
  for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i].sequence, i);
  // Some page must hold only the middle of the big packet: no packet ends there.
  bool continuedOnly = false;
  for (const OggPage& page : pages) continuedOnly |= (page.flags & 1) && page.granule == -1;
  EXPECT_TRUE(continuedOnly);
}

}  // namespace
