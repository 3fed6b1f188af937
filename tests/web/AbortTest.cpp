#include <gtest/gtest.h>

#include <thread>

#include "support/TestServer.h"
#include "web/WebRequest.h"

// Its own program: AbortAll cannot be undone within a process.
namespace {

TEST(AbortTest, AbortAllEndsARequestInProgress) {
  testsupport::TestServer server;
  testsupport::Response silent;
  silent.stallBeforeReply = std::chrono::seconds(60);
  server.Serve("/hang", silent);
  std::string body = "unset";
  std::thread worker([&] { body = web::WebRequest(server.Url("/hang")); });
  ASSERT_TRUE(testsupport::WaitFor([&] { return server.RequestCount() == 1; }));
  web::AbortAll();
  worker.join();
  EXPECT_EQ(body, "");
  server.Serve("/after", "late");
  EXPECT_EQ(web::WebRequest(server.Url("/after")), "");
  EXPECT_EQ(server.RequestCount(), 1u);
}

}  // namespace
