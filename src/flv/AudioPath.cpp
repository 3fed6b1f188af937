#include "flv/AudioPath.h"

namespace flv {

std::string AudioPathFor(const std::string& flvPath, Codec codec) {
  const std::size_t slash = flvPath.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = flvPath.rfind('.');
  // A dot that starts the name (".flv") or sits in a folder name is no extension.
  const bool hasExtension = dot != std::string::npos && dot > nameStart;
  std::string path = hasExtension ? flvPath.substr(0, dot) : flvPath;
  path += ExtensionOf(codec);
  return path;
}

}  // namespace flv
