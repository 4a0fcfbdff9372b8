// The one net that keeps exceptions from reaching Windows: window procedures, subclass
// procedures, enumeration callbacks, list sort comparators and WinMain run their code through
// Guarded. Each failure is recorded and reported in a message box posted to come after the
// failing message has returned (never from inside a paint or timer message), one box at a
// time, in the order they happened. A failure already reported or waiting is not reported
// again, so one that repeats with every paint shows one box, not a storm.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace quelvar {

// Makes the window that carries the report, on the calling thread: WinMain calls it first,
// so that a failure on any thread is reported by the main message loop.
void PrepareFailureReport() noexcept;
// Records a failure (the problem in the program's words), from any thread, to be reported
// unless the same text was recorded before.
void RecordFailure(const std::string& what) noexcept;
// Shows the recorded failures not yet shown, now (WinMain, when no message loop is left to
// deliver the posted report).
void ReportFailureNow() noexcept;
// The failure recorded first, empty when none.
std::string FirstFailure();

// Runs `body`; an exception is recorded and `fallback` returned instead.
template <typename Result, typename Body>
Result Guarded(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (const std::exception& error) {
    RecordFailure(error.what());
  } catch (...) {
    RecordFailure("An unexpected error occurred.");
  }
  return fallback;
}

template <typename Body>
void Guarded(Body&& body) noexcept {
  Guarded(0, [&] {
    std::forward<Body>(body)();
    return 0;
  });
}

}  // namespace quelvar
