// The scope guards undo their change on every way out of a scope, including an exception.
#include "platform/core/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Runs body, which may leave by an exception; the exception ends here.
template <typename Body>
void runScope(Body body) {
  try {
    body();
  } catch (const std::runtime_error&) {
  }
}

}  // namespace

TEST(ScopeGuardTest, ValueScopeRestoresTheOldValueOnEveryWayOut) {
  for (bool throwing : {false, true}) {
    SCOPED_TRACE(throwing ? "left by an exception" : "left normally");
    bool flag = false;
    int depth = 0;
    std::string text = "before";
    runScope([&] {
      TValueScope<bool> busy(flag, true);
      TValueScope<int> outer(depth, depth + 1);
      TValueScope<std::string> label(text, "inside");
      {
        TValueScope<int> inner(depth, depth + 1);
        EXPECT_EQ(depth, 2) << "a nested hold counts on";
      }
      EXPECT_EQ(depth, 1) << "the inner hold gave its level back";
      EXPECT_TRUE(flag);
      EXPECT_EQ(text, "inside");
      if (throwing) throw std::runtime_error("handler failed");
    });
    EXPECT_FALSE(flag);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(text, "before");
  }
}

TEST(ScopeGuardTest, ValueScopeKeepsAnOuterHoldWhenTheInnerOneEnds) {
  // A flag already raised by an outer scope stays raised after an inner hold of the same flag.
  bool flag = false;
  {
    TValueScope<bool> outer(flag, true);
    { TValueScope<bool> inner(flag, true); }
    EXPECT_TRUE(flag);
  }
  EXPECT_FALSE(flag);
}

TEST(ScopeGuardTest, ScopeExitRunsUnlessReleased) {
  for (bool released : {false, true}) {
    int runs = 0;
    {
      ScopeExit undo([&runs] { ++runs; });
      if (released) undo.Release();
    }
    EXPECT_EQ(runs, released ? 0 : 1) << (released ? "released" : "armed");
  }
}
