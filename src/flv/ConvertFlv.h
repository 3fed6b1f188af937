#pragma once
// The program's side of the extractor.

#include <string>

namespace flv {

// Runs <programFolder>/flvtomp3 -a -o <flvPath> as a child process (an argument vector, no
// shell), waits for it without a time limit, and deletes the FLV only when the tool reported
// success and left a non-empty audio file with the FLV's base name (.mp3, .aac, .wav or .spx).
// Returns whether that audio file came out. Paths are UTF-8 file-system paths.
// Thread: the UI thread; it blocks until the tool ends.
bool ConvertFlv(const std::string& programFolder, const std::string& flvPath);

}  // namespace flv
