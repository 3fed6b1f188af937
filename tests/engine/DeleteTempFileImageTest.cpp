#include <gtest/gtest.h>

#include <string>

#include "engine/DeleteTempFileImage.h"
#include "text/Text.h"

namespace {

using namespace std::literals;

std::string Utf16Le(std::u16string_view units) {
  std::string bytes;
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::string Image(std::u16string_view name, std::u16string_view directory) {
  std::string image(26564, '\0');
  image[18360] = '\5';
  image[18372] = '\1';
  const std::string nameBytes = Utf16Le(name);
  const std::string directoryBytes = Utf16Le(directory);
  image.replace(16532, nameBytes.size(), nameBytes);
  image.replace(17572, directoryBytes.size(), directoryBytes);
  return image;
}

TEST(DeleteTempFileImage, PlacesNameAndFolderAtTheirOffsets) {
  struct Case {
    const char* name;
    std::string directory;
    std::string fileName;
    std::string expected;
  };
  std::string longName;
  std::u16string longNameKept;
  for (int i = 0; i < 300; ++i) {
    longName += text::Gbk("曲");
    if (i < 259) {
      longNameKept += u"曲";
    }
  }
  longNameKept.push_back(u'\0');
  const Case cases[] = {
      {"plain", text::Gbk("/m/DJ舞曲"), text::Gbk("舞曲.mp3"),
       Image(u"舞曲.mp3\0"s, u"/m/DJ舞曲\0"s)},
      {"empty", "", "", Image(std::u16string(1, u'\0'), std::u16string(1, u'\0'))},
      {"too long", "/d", longName, Image(longNameKept, u"/d\0"s)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(engine::DeleteTempFileImage(c.directory, c.fileName), c.expected);
  }
}

}  // namespace
