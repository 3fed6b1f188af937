#include "flv/ExtractorImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

// The bytes of the built tool, pulled in by the assembler from the copy the build makes
// (FLV_IMAGE_FILE, a string literal).
asm(".pushsection .rodata\n"
    ".balign 16\n"
    ".globl velmira_flv_image_begin\n"
    ".hidden velmira_flv_image_begin\n"
    "velmira_flv_image_begin:\n"
    ".incbin \"" FLV_IMAGE_FILE
    "\"\n"
    ".globl velmira_flv_image_end\n"
    ".hidden velmira_flv_image_end\n"
    "velmira_flv_image_end:\n"
    ".popsection\n");

extern "C" const char velmira_flv_image_begin[];
extern "C" const char velmira_flv_image_end[];

namespace flv {

std::string_view ExtractorImage() {
  return {velmira_flv_image_begin,
          static_cast<std::size_t>(velmira_flv_image_end - velmira_flv_image_begin)};
}

bool WriteExtractor(const std::string& path) {
  // Write beside it and rename: opening a running executable for writing fails (ETXTBSY).
  const std::string temp = path + "." + std::to_string(getpid()) + ".new";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0700);
  if (fd < 0) return false;
  std::string_view image = ExtractorImage();
  bool ok = fchmod(fd, 0755) == 0;
  while (ok && !image.empty()) {
    const ssize_t n = write(fd, image.data(), image.size());
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) image.remove_prefix(static_cast<std::size_t>(n));
  }
  ok = close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace flv
