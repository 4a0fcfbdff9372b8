// The C++ runtime's locks while CreateSemaphoreW fails as on the 95 line (QUELVAR_STUB_API):
// the lock probe, built as the release is, holds under contention with the program's routing
// of the call, and the same probe without the routing does not, so the probe can tell them apart.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

TEST(RuntimeLocks, HoldUnderContentionOnlyWithTheRoutingWhenTheWideCallFails) {
  struct Case {
    const char* probe;
    bool held;
  };
  ScopedEnvironment wideCallFails("QUELVAR_STUB_API", "CreateSemaphoreW");
  for (const Case& c : {Case{QUELVAR_LOCK_PROBE_PATH, true}, Case{QUELVAR_UNROUTED_LOCK_PROBE_PATH, false}}) {
    const std::string output = RunAndCapture('"' + ToWinePath(c.probe) + '"', Milliseconds{120000});
    EXPECT_NE(output.find("contending the runtime's locks"), std::string::npos) << c.probe << " did not run";
    EXPECT_EQ(output.find("runtime locks held") != std::string::npos, c.held) << c.probe << ":\n" << output;
  }
}

}  // namespace
}  // namespace quelvar
