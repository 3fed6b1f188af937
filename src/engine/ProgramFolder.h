#pragma once
// Where the program's companion files live (libp2p.so, flvtomp3, data/).
// Any thread.

#include <string>

namespace engine {

// The folder of the running executable (/proc/self/exe), without a trailing
// "/"; empty when it cannot be determined.
std::string ProgramFolder();

}  // namespace engine
