// The failure net's reports under Wine: every failure gets a box of its own, one box at a time
// in the order they happened, and a failure already reported is not reported again.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/win32/failure_net.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

// From a thread of its own, answers each box this process shows and keeps its text. While the
// first box is on show it records one more failure, as a failing worker thread would.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::string failureMeanwhile) : m_meanwhile(std::move(failureMeanwhile)) {
    ::InitializeCriticalSection(&m_lock);
    m_thread = ::CreateThread(nullptr, 0, &Run, this, 0, nullptr);
  }
  ~BoxAnswerer() {
    ::InterlockedExchange(&m_done, 1);
    ::WaitForSingleObject(m_thread, 10000);
    ::CloseHandle(m_thread);
    ::DeleteCriticalSection(&m_lock);
  }
  // The texts of the boxes answered since the last call.
  std::vector<std::string> Take() {
    ::EnterCriticalSection(&m_lock);
    std::vector<std::string> texts;
    texts.swap(m_texts);
    ::LeaveCriticalSection(&m_lock);
    return texts;
  }
  std::size_t Count() {
    ::EnterCriticalSection(&m_lock);
    const std::size_t count = m_texts.size();
    ::LeaveCriticalSection(&m_lock);
    return count;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto& answerer = *static_cast<BoxAnswerer*>(self);
    while (!answerer.m_done) {
      const StandardBox box = WaitForStandardBox(::GetCurrentProcessId(), Milliseconds{100});
      if (!box.box) continue;
      if (!answerer.m_meanwhile.empty()) {
        RecordFailure(answerer.m_meanwhile);
        answerer.m_meanwhile.clear();
      }
      ::EnterCriticalSection(&answerer.m_lock);
      answerer.m_texts.push_back(box.text);
      ::LeaveCriticalSection(&answerer.m_lock);
      AnswerStandardBox(box, IDOK);
    }
    return 0;
  }

  std::string m_meanwhile;
  CRITICAL_SECTION m_lock;
  std::vector<std::string> m_texts;
  volatile LONG m_done = 0;
  HANDLE m_thread = nullptr;
};

TEST(FailureNetTest, EachFailureIsReportedOnceInTheOrderItHappened) {
  PrepareFailureReport();
  BoxAnswerer answerer("recorded while a box was on show");
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
  for (const auto& step : steps) {
    for (const std::string& text : step.recorded) RecordFailure(text);
    // This thread shows the boxes while it pumps its messages; then a little longer, so a
    // box too many would be seen.
    WaitUntil([&] { return answerer.Count() >= step.boxes.size() && !step.boxes.empty(); },
              Milliseconds{5000});
    WaitUntil([] { return false; }, Milliseconds{400});
    EXPECT_EQ(answerer.Take(), step.boxes) << step.recorded.front();
  }
  EXPECT_EQ(FirstFailure(), "first");
}

}  // namespace
}  // namespace quelvar
