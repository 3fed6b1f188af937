#pragma once
// flvtomp3's work on files: extracts the audio of the FLV at flvPath into the file that
// AudioPathFor names. The audio goes to a temporary file in the same folder, renamed over the
// final name only when extraction did not fail, so a failure leaves no audio file behind.
// Not thread-safe with itself on the same paths; otherwise any thread.

#include <string>

#include "flv/AudioExtractor.h"

namespace flv {

struct FileExtraction {
  Extraction::Outcome outcome = Extraction::Outcome::kFailed;
  std::string outputPath;  // set once the codec is known
  std::string message;     // why it failed, or what a partial extraction lost
};

// Without overwrite an existing output file is an error and stays untouched.
FileExtraction ExtractFile(const std::string& flvPath, bool overwrite);

}  // namespace flv
