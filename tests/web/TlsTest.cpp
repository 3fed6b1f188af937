// A secure request to a server whose certificate nobody vouches for must not
// deliver that server's page: the peer is verified.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "support/TestServer.h"
#include "web/WebRequest.h"

namespace {

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

pid_t Spawn(const std::vector<std::string>& args, bool quiet) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (quiet) {
      ::freopen("/dev/null", "w", stdout);
      ::freopen("/dev/null", "w", stderr);
    }
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

TEST(Tls, SelfSignedServerGivesNoPage) {
  testsupport::TempDir dir;
  const std::string key = dir.File("key.pem"), cert = dir.File("cert.pem");
  int status = 0;
  const pid_t made = Spawn({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                            key, "-out", cert, "-days", "1", "-subj", "/CN=127.0.0.1"},
                           true);
  ASSERT_EQ(::waitpid(made, &status, 0), made);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "openssl could not make a key";

  const int port = FreePort();
  // -www answers every request with a page, so any body proves the check was skipped.
  const pid_t server = Spawn({"openssl", "s_server", "-accept", "127.0.0.1:" + std::to_string(port),
                              "-cert", cert, "-key", key, "-www", "-naccept", "4"},
                             true);
  ASSERT_GT(server, 0);
  const bool up = testsupport::WaitFor([&] { return Accepts(port); });
  std::string headers;
  const std::string body = up ? web::WebRequest("https://127.0.0.1:" + std::to_string(port) + "/",
                                                0, {}, nullptr, nullptr, nullptr, &headers)
                              : std::string("<server did not start>");
  ::kill(server, SIGTERM);
  ::waitpid(server, &status, 0);
  ASSERT_TRUE(up);
  EXPECT_EQ(body, "");
  EXPECT_EQ(headers, std::string(5000, ' '));
}

}  // namespace
