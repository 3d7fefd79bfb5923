#include "shell/termination_signals.h"

#include <poll.h>

#include <gtest/gtest.h>

#include <csignal>

namespace quill {
namespace {

bool Readable(int descriptor, int waitMs) {
  pollfd watched{descriptor, POLLIN, 0};
  return ::poll(&watched, 1, waitMs) == 1;
}

TEST(TerminationSignals, ARequestToEndMakesTheDescriptorReadableInsteadOfEndingTheProcess) {
  TerminationSignals signals;
  ASSERT_GE(signals.Descriptor(), 0);
  EXPECT_FALSE(Readable(signals.Descriptor(), 0));
  EXPECT_FALSE(signals.Pending());
  for (const int request : {SIGTERM, SIGINT}) {
    ASSERT_EQ(::raise(request), 0);
    EXPECT_TRUE(Readable(signals.Descriptor(), 1000)) << request;
    EXPECT_TRUE(signals.Pending()) << request;
    signals.Drain();
    EXPECT_FALSE(Readable(signals.Descriptor(), 0)) << request;
    EXPECT_FALSE(signals.Pending()) << request;
  }
}

TEST(TerminationSignals, TheEarlierHandlingComesBackAfterwards) {
  struct sigaction ignore {
  }, previous{}, now{};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(::sigaction(SIGTERM, &ignore, &previous), 0);
  { const TerminationSignals signals; }
  ::sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_IGN);
  ::sigaction(SIGTERM, &previous, nullptr);
}

}  // namespace
}  // namespace quill
