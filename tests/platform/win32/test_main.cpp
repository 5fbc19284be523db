// The Windows test program: GoogleTest's run, then one summary line that the check script reads.
#include <windows.h>
//
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // A single-threaded apartment, as a form's thread is: screen readers reach the window's
  // accessible object through it.
  OleInitialize(nullptr);
  const int result = RUN_ALL_TESTS();
  OleUninitialize();
  const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
  std::printf("VELMORA-WIN32-TESTS: %s %d of %d\n", result == 0 ? "PASSED" : "FAILED",
              result == 0 ? run.successful_test_count() : run.failed_test_count(),
              run.test_to_run_count());
  return result;
}
