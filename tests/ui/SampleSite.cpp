// velmira-sample-site: a local site-D stand-in for watching a whole run by
// hand. It serves play pages whose media addresses point back at it, and the
// media files themselves (with ranges, throttled), on 127.0.0.1 only; it
// prints the play addresses to paste and stops by itself.
//
//   velmira-sample-site [--lines N] [--size-mb M] [--rate-kb K] [--seconds S]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "resolve/SiteTable.h"
#include "support/TestServer.h"

namespace {

long Option(int argc, char** argv, const char* name, long fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::strtol(argv[i + 1], nullptr, 10);
  }
  return fallback;
}

std::string Media(std::size_t size, int n) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + n) & 0xff);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = Option(argc, argv, "--lines", 5);
  const long sizeMb = Option(argc, argv, "--size-mb", 8);
  const long rateKb = Option(argc, argv, "--rate-kb", 256);
  const long seconds = Option(argc, argv, "--seconds", 900);

  testsupport::TestServer server;
  const std::string tag = resolve::BuiltInSites().sites[3].tag;  // site D
  for (long n = 1; n <= lines; ++n) {
    const std::string media = "/media/track" + std::to_string(n) + ".mp3";
    testsupport::Response file;
    file.body = Media(static_cast<std::size_t>(sizeMb) * 1024 * 1024 + 12345, static_cast<int>(n));
    file.contentType = "audio/mpeg";
    file.bytesPerSecond = static_cast<std::size_t>(rateKb) * 1024;
    server.Serve(media, file);
    // UTF-8, as site D's pages are.
    server.Serve("/" + tag + "/play/" + std::to_string(n) + ".html",
                 "<html><script>var url = \"" + server.Url(media) +
                     "\";</script><div class=\"tie\"><h2>示例舞曲 " + std::to_string(n) +
                     "</h2></div></html>");
  }
  std::cerr << "sample site on " << server.Host() << " for " << seconds
            << " s; paste these lines into the batch window:\n";
  for (long n = 1; n <= lines; ++n) {
    std::cout << server.Url("/" + tag + "/play/" + std::to_string(n) + ".html") << "\n";
  }
  std::cout.flush();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  return 0;
}
