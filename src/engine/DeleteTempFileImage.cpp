#include "engine/DeleteTempFileImage.h"

#include "engine/FieldCodec.h"

namespace engine {
namespace {

constexpr std::size_t kImageSize = 26564;
constexpr std::size_t kFileNameOffset = 16532;
constexpr std::size_t kSaveDirectoryOffset = 17572;
constexpr std::size_t kTextWidth = 520;
constexpr std::size_t kReserved1Offset = 18360;
constexpr std::size_t kReservedOffset = 18372;

}  // namespace

std::string DeleteTempFileImage(std::string_view saveDirectory, std::string_view fileName) {
  std::string image(kImageSize, '\0');
  image[kReserved1Offset] = '\5';
  image[kReservedOffset] = '\1';
  // The encoded texts are never wider than their field, so the rest stays zero.
  const std::string name = WideFieldFromGbk(fileName, kTextWidth);
  const std::string directory = WideFieldFromGbk(saveDirectory, kTextWidth);
  image.replace(kFileNameOffset, name.size(), name);
  image.replace(kSaveDirectoryOffset, directory.size(), directory);
  return image;
}

}  // namespace engine
