// The isolated reader process: results stream back; an error, a crash, a broken-off result
// and a hang in the child each come back as one EDatabaseError that says which.
#include "platform/db/isolated_call.h"

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/db/db_error.h"

namespace {

std::string failureOf(const std::function<void(TByteSink&)>& work, int timeoutMs = 20000) {
  TIsolatedOptions options;
  options.TimeoutMs = timeoutMs;
  try {
    RunIsolated("Reading x", work, [](TByteSource& s) { TSnapshotCodec::ReadString(s, 100); }, options);
  } catch (const EDatabaseError& e) {
    return e.Message;
  }
  return "no error";
}

TEST(IsolatedCallTest, ResultsComeBackWhole) {
  std::string big(3 << 20, 'x');  // larger than any pipe buffer
  for (size_t i = 0; i < big.size(); i += 4093) big[i] = char('a' + i % 26);
  std::string got;
  RunIsolated(
      "Reading x", [&](TByteSink& sink) { TSnapshotCodec::WriteString(sink, big); },
      [&](TByteSource& source) { got = TSnapshotCodec::ReadString(source, big.size()); });
  EXPECT_EQ(got, big);
}

TEST(IsolatedCallTest, EveryChildFailureBecomesADatabaseError) {
  struct Case {
    const char* what;
    std::function<void(TByteSink&)> work;
    const char* expected;
    int timeoutMs = 20000;  // generous, so a busy machine cannot turn a case into a timeout
  };
  const std::vector<Case> cases = {
      {"an error", [](TByteSink&) { throw EDatabaseError("table 'T' not found"); }, "table 'T' not found"},
      {"a crash, with libmdb's last words",
       [](TByteSink&) {
         std::fputs("offset 99 is beyond EOF\n", stderr);
         std::fflush(stderr);
         ::raise(SIGSEGV);
       },
       "Reading x: the reader crashed (signal 11; the file is probably damaged); libmdb: offset 99 is beyond EOF"},
      {"half a result",
       [](TByteSink& sink) {
         TSnapshotCodec::WriteU32(sink, 50);
         sink.Write("abc", 3);
         throw EDatabaseError("too late to say");
       },
       "Reading x: the reader stopped early"},
      {"a hang",
       [](TByteSink&) {
         for (;;) ::pause();
       },
       "Reading x: the reader did not finish within 0.3 s", 300},
  };
  for (const auto& c : cases) {
    std::string message = failureOf(c.work, c.timeoutMs);
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
  }
}

}  // namespace
