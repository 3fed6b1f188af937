// The extraction loop on FLVs built in memory: what each codec's file holds, and what a cut,
// damaged or unusable input gives. Every case runs with a tiny read block too, so tags that
// straddle block boundaries take the refill paths.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "flv/AudioExtractor.h"
#include "flv/FlvBuilder.h"
#include "flv/MemoryInput.h"
#include "flv/MemoryOutput.h"

namespace {

using flv::Codec;
using Outcome = flv::Extraction::Outcome;
using namespace flvtest;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (const int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Cut(const std::string& bytes, std::size_t dropAtEnd) {
  return bytes.substr(0, bytes.size() - dropAtEnd);
}

const std::string f1 = Mp3Frame('1'), f2 = Mp3Frame('2'), f3 = Mp3Frame('3'), f4 = Mp3Frame('4');

const std::string kWav16StereoHeader12 =
    "RIFF" + Bytes({48, 0, 0, 0}) + "WAVEfmt " +
    Bytes({16, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0}) + "data" +
    Bytes({12, 0, 0, 0});

struct Case {
  const char* name;
  std::string flv;
  Outcome outcome;
  std::optional<Codec> codec;  // the output opened, if any
  std::string audio;           // the output's bytes, unless it failed
  const char* message = "";    // part of the message
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"mp3 frames as stored, one or more per tag",
                   FlvBuilder().Audio(kMp3, f1).Audio(kMp3, f2 + f3).Bytes(), Outcome::kComplete,
                   Codec::kMp3, f1 + f2 + f3});
  cases.push_back({"mp3 between video and script tags",
                   FlvBuilder()
                       .Script("onMetaData")
                       .Video(std::string(5000, 'v'))
                       .Audio(kMp3, f1)
                       .Video("v")
                       .Audio(kMp3, f2)
                       .Video(std::string(70000, 'w'))
                       .Bytes(),
                   Outcome::kComplete, Codec::kMp3, f1 + f2});
  cases.push_back({"aac frames behind adts headers from the sequence header",
                   FlvBuilder()
                       .Audio(kAac,
                              "\x01"
                              "early")  // before the sequence header: cannot be described
                       .Audio(kAac, Bytes({0, 0x12, 0x10}))
                       .Audio(kAac, "\x01" + std::string(10, 'a'))
                       .Video("v")
                       .Audio(kAac, "\x01" + std::string(20, 'b'))
                       .Bytes(),
                   Outcome::kComplete, Codec::kAac,
                   Bytes({0xFF, 0xF1, 0x50, 0x80, 0x02, 0x3F, 0xFC}) + std::string(10, 'a') +
                       Bytes({0xFF, 0xF1, 0x50, 0x80, 0x03, 0x7F, 0xFC}) + std::string(20, 'b')});
  cases.push_back(
      {"16-bit stereo pcm as wav",
       FlvBuilder().Audio(kPcm16Stereo44k, "12345678").Audio(kPcm16Stereo44k, "abcd").Bytes(),
       Outcome::kComplete, Codec::kPcm, kWav16StereoHeader12 + "12345678abcd"});
  cases.push_back(
      {"8-bit mono pcm of odd length gets a pad byte",
       FlvBuilder().Audio(kPcm8Mono5k, "xyz").Bytes(), Outcome::kComplete, Codec::kPcm,
       "RIFF" + Bytes({40, 0, 0, 0}) + "WAVEfmt " +
           Bytes({16, 0, 0, 0, 1, 0, 1, 0, 0x88, 0x15, 0, 0, 0x88, 0x15, 0, 0, 1, 0, 8, 0}) +
           "data" + Bytes({3, 0, 0, 0}) + "xyz" + Bytes({0})});
  cases.push_back({"a cut mp3 tag keeps its whole frames",
                   Cut(FlvBuilder().Audio(kMp3, f1).Audio(kMp3, f2 + f3 + f4).Bytes(), 4 + 317),
                   Outcome::kPartial, Codec::kMp3, f1 + f2 + f3, "ends inside the tag at offset"});
  cases.push_back({"a cut pcm tag keeps its whole sample frames",
                   Cut(FlvBuilder()
                           .Audio(kPcm16Stereo44k, "12345678")
                           .Audio(kPcm16Stereo44k, "abcdefgh")
                           .Bytes(),
                       4 + 2),
                   Outcome::kPartial, Codec::kPcm, kWav16StereoHeader12 + "12345678abcd"});
  cases.push_back({"a cut video tag after the audio",
                   Cut(FlvBuilder().Audio(kMp3, f1).Video(std::string(1000, 'v')).Bytes(), 504),
                   Outcome::kPartial, Codec::kMp3, f1});
  cases.push_back({"a cut tag header", Cut(FlvBuilder().Audio(kMp3, f1).Video("v").Bytes(), 10),
                   Outcome::kPartial, Codec::kMp3, f1});
  cases.push_back({"a missing last size field loses nothing",
                   Cut(FlvBuilder().Audio(kMp3, f1).Bytes(), 2), Outcome::kComplete, Codec::kMp3,
                   f1});
  cases.push_back({"zeros after the last tag",
                   FlvBuilder().Audio(kMp3, f1).Raw(std::string(64, '\0')).Bytes(),
                   Outcome::kPartial, Codec::kMp3, f1, "damaged tag header"});
  cases.push_back(
      {"not an FLV", "ID3\x03\0\0\0\0\0\0" + f1, Outcome::kFailed, std::nullopt, "", "not an FLV"});
  cases.push_back({"an empty file", "", Outcome::kFailed, std::nullopt, "", "not an FLV"});
  cases.push_back({"no audio tags",
                   FlvBuilder().Script("onMetaData").Video(std::string(100, 'v')).Bytes(),
                   Outcome::kFailed, std::nullopt, "", "no audio"});
  cases.push_back({"an unsupported codec", FlvBuilder().Audio(kNellymoser, "nnnn").Bytes(),
                   Outcome::kFailed, std::nullopt, "", "Nellymoser is not supported"});
  cases.push_back({"the codec changes",
                   FlvBuilder().Audio(kMp3, f1).Audio(kAac, Bytes({0, 0x12, 0x10})).Bytes(),
                   Outcome::kFailed, Codec::kMp3, "", "codec changes"});
  cases.push_back({"the pcm format changes",
                   FlvBuilder().Audio(kPcm16Stereo44k, "1234").Audio(kPcm8Mono5k, "1").Bytes(),
                   Outcome::kFailed, Codec::kPcm, "", "PCM format changes"});
  cases.push_back({"aac without a sequence header",
                   FlvBuilder()
                       .Audio(kAac,
                              "\x01"
                              "frame")
                       .Bytes(),
                   Outcome::kFailed, Codec::kAac, "", "no audio that can be written"});
  cases.push_back({"the only audio tag is cut before a whole frame",
                   Cut(FlvBuilder().Audio(kMp3, f1).Bytes(), 100), Outcome::kFailed, Codec::kMp3,
                   "", "no audio"});
  return cases;
}

TEST(AudioExtractorTest, WritesTheStreamOrSaysWhyNot) {
  for (const Case& c : Cases()) {
    for (const std::size_t block : {std::size_t{16}, std::size_t{1} << 19}) {
      SCOPED_TRACE(std::string(c.name) + ", block " + std::to_string(block));
      flv::MemoryInput input(c.flv);
      flv::MemoryOutput output;
      std::optional<Codec> opened;
      const flv::Extraction result = flv::ExtractAudio(
          input,
          [&](Codec codec, std::string&) -> flv::Output* {
            EXPECT_FALSE(opened) << "opened twice";
            opened = codec;
            return &output;
          },
          block);
      EXPECT_EQ(result.outcome, c.outcome) << result.message;
      EXPECT_EQ(opened, c.codec);
      if (c.outcome != Outcome::kFailed) {
        EXPECT_EQ(output.Bytes(), c.audio);
      }
      EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
    }
  }
}

TEST(AudioExtractorTest, AnOutputThatCannotBeOpenedFails) {
  const std::string flvBytes = FlvBuilder().Audio(kMp3, f1).Bytes();
  flv::MemoryInput input(flvBytes);
  const flv::Extraction result =
      flv::ExtractAudio(input, [](Codec, std::string& error) -> flv::Output* {
        error = "no room";
        return nullptr;
      });
  EXPECT_EQ(result.outcome, Outcome::kFailed);
  EXPECT_EQ(result.message, "no room");
}

}  // namespace
