// velmira-mkstore <path>: creates an empty store file for an installed copy of
// the program, which itself never creates one. An existing file is not touched.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "store/DownloadStore.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmira-mkstore <path of Data.mdb>\n");
    return 2;
  }
  const std::filesystem::path path(argv[1]);
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) {
    std::fprintf(stderr, "velmira-mkstore: %s: %s\n", path.parent_path().c_str(),
                 ec.message().c_str());
    return 1;
  }
  std::string error;
  if (!store::CreateEmptyStore(path.string(), store::kStorePassword, &error)) {
    std::fprintf(stderr, "velmira-mkstore: %s\n", error.c_str());
    return 1;
  }
  std::printf("created %s\n", path.c_str());
  return 0;
}
