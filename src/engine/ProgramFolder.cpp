#include "engine/ProgramFolder.h"

#include <unistd.h>

#include <vector>

namespace engine {

std::string ProgramFolder() {
  // readlink does not say whether it truncated: grow until the link fits.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) {
      return {};
    }
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const std::string path(buffer.data(), static_cast<std::size_t>(length));
      const std::size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace engine
