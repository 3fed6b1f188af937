// flvtomp3 -a [-o] [--] <file.flv>: writes the audio stream of an FLV beside it.
// Exit codes: 0 written; 3 written, but the file was cut or damaged and only the audio before
// that point is in it; 1 failed, nothing written; 2 bad command line.

#include <cstdio>
#include <string>
#include <string_view>

#include "flv/FileExtractor.h"

namespace {

constexpr int kPartial = 3;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage() {
  std::fputs("usage: flvtomp3 -a [-o] <file.flv>\n", stderr);
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  bool audio = false;
  bool overwrite = false;
  std::string path;
  bool havePath = false;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      for (const char c : arg.substr(1)) {
        if (c == 'a') {
          audio = true;
        } else if (c == 'o') {
          overwrite = true;
        } else {
          return Usage();
        }
      }
    } else if (!havePath) {
      path = arg;
      havePath = true;
    } else {
      return Usage();
    }
  }
  if (!audio || !havePath) return Usage();

  const flv::FileExtraction result = flv::ExtractFile(path, overwrite);
  switch (result.outcome) {
    case flv::Extraction::Outcome::kComplete:
      return 0;
    case flv::Extraction::Outcome::kPartial:
      std::fprintf(stderr, "flvtomp3: %s: warning: %s\n", path.c_str(), result.message.c_str());
      return kPartial;
    case flv::Extraction::Outcome::kFailed:
      break;
  }
  std::fprintf(stderr, "flvtomp3: %s: %s\n", path.c_str(), result.message.c_str());
  return kFailed;
}
