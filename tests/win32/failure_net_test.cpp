// The failure net's reports under Wine: every failure gets a box of its own, one box at a time
// in the order they happened, and a failure already reported is not reported again.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/win32/failure_net.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

TEST(FailureNetTest, EachFailureIsReportedOnceInTheOrderItHappened) {
  PrepareFailureReport();
  // Another thread answers each box and keeps its text; while the first is on show it records
  // one more failure, as a failing worker thread would.
  std::mutex lock;
  std::vector<std::string> seen;
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    bool first = true;
    while (!done) {
      const StandardBox box = WaitForStandardBox(::GetCurrentProcessId(), Milliseconds{100});
      if (!box.box) continue;
      if (std::exchange(first, false)) RecordFailure("recorded while a box was on show");
      {
        std::lock_guard<std::mutex> hold(lock);
        seen.push_back(box.text);
      }
      AnswerStandardBox(box, IDOK);
    }
  });
  const struct {
    std::vector<std::string> recorded;
    std::vector<std::string> boxes;
  } steps[] = {
      {{"first"}, {"first", "recorded while a box was on show"}},
      {{"second"}, {"second"}},
      {{"first", "second"}, {}},
      {{"third", "third", "fourth"}, {"third", "fourth"}},
      {{""}, {"An unexpected error occurred."}},
  };
  auto count = [&] {
    std::lock_guard<std::mutex> hold(lock);
    return seen.size();
  };
  for (const auto& step : steps) {
    for (const std::string& text : step.recorded) RecordFailure(text);
    // This thread shows the boxes while it pumps its messages; a little longer, so that a box
    // too many would be seen too.
    WaitUntil([&] { return !step.boxes.empty() && count() >= step.boxes.size(); },
              Milliseconds{5000});
    WaitUntil([] { return false; }, Milliseconds{400});
    std::lock_guard<std::mutex> hold(lock);
    EXPECT_EQ(seen, step.boxes) << step.recorded.front();
    seen.clear();
  }
  done = true;
  answerer.join();
  EXPECT_EQ(FirstFailure(), "first");
}

}  // namespace
}  // namespace quelvar
