// The built program started where there is no ADR.mdb: the start-up error box and exit code 1.
// The box's text goes to standard error through the test-only QUILLON_TEST_MESSAGEBOX switch.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "app_test_support.h"

namespace {

TEST(StartupFailureTest, MissingDatabaseEndsWithApplicationErrorAndCodeOne) {
  TempWorkingDir dir(/*withDatabase=*/false);
  std::string command = std::string("QT_QPA_PLATFORM=offscreen QUILLON_TEST_MESSAGEBOX=stderr '") +
                        QUILLON_EXE + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  // caption|flags|text: an error icon, task-modal, naming the missing file.
  EXPECT_NE(output.find("Application Error|0x2010|"), std::string::npos) << output;
  EXPECT_NE(output.find("ADR.mdb"), std::string::npos) << output;
}

}  // namespace
