// Contends the C++ runtime's locks: in each round two threads ask at once for one guarded static
// whose initialiser throws, so one thread waits on the runtime's static-initialisation lock while
// the other holds it, and both unwind an exception. Built as the release is (win32 threads), with
// the program's CreateSemaphoreW routing or, as the control, without it; run with
// QUELVAR_STUB_API=CreateSemaphoreW so that the wide call fails as on the 95 line. Prints
// "contending the runtime's locks" first, then "runtime locks held" when every answer in every
// round was the initialiser's own exception.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kRounds = 200;

volatile LONG g_asking = 0;  // threads of this round that are about to ask
HANDLE g_go = nullptr;       // released once both threads of a round are ready
volatile LONG g_refused = 0, g_other = 0;
char g_otherWhat[160] = {};

int Refuse() {
  // Holds the lock until the other thread of the round has asked too, and a little longer, so
  // that its request meets the lock taken.
  for (int spins = 0; g_asking < 2 && spins < 2000; ++spins) ::Sleep(0);
  ::Sleep(1);
  throw std::runtime_error("refused");
}

int& Guarded() {
  static int value = Refuse();
  return value;
}

void Other(const char* what) {
  if (::InterlockedIncrement(&g_other) == 1) std::snprintf(g_otherWhat, sizeof g_otherWhat, "%s", what);
}

DWORD WINAPI Ask(void*) {
  ::WaitForSingleObject(g_go, INFINITE);
  ::InterlockedIncrement(&g_asking);
  try {
    Guarded();
    Other("the initialiser returned");
  } catch (const std::runtime_error& refused) {
    if (std::strcmp(refused.what(), "refused") == 0) {
      ::InterlockedIncrement(&g_refused);
    } else {
      Other(refused.what());
    }
  } catch (const std::exception& error) {
    Other(error.what());
  } catch (...) {
    Other("an unknown exception");
  }
  return 0;
}

}  // namespace

int main() {
  // A crash of the control build ends the probe quietly, with no crash dialog to wait on.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  std::printf("contending the runtime's locks\n");
  std::fflush(stdout);
  for (int round = 0; round < kRounds; ++round) {
    g_asking = 0;
    g_go = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE threads[2] = {::CreateThread(nullptr, 0, Ask, nullptr, 0, nullptr),
                         ::CreateThread(nullptr, 0, Ask, nullptr, 0, nullptr)};
    if (g_go == nullptr || threads[0] == nullptr || threads[1] == nullptr) {
      std::printf("could not start round %d (error %lu)\n", round, ::GetLastError());
      return 2;
    }
    ::SetEvent(g_go);
    if (::WaitForMultipleObjects(2, threads, TRUE, 60000) != WAIT_OBJECT_0) {
      std::printf("round %d did not end within a minute\n", round);
      return 1;
    }
    ::CloseHandle(threads[0]);
    ::CloseHandle(threads[1]);
    ::CloseHandle(g_go);
  }
  std::printf("%d rounds: %ld answers the initialiser's own exception, %ld other%s%s\n", kRounds,
              g_refused, g_other, g_other != 0 ? ", the first: " : "", g_otherWhat);
  const bool held = g_refused == 2 * kRounds && g_other == 0;
  if (held) std::printf("runtime locks held\n");
  std::fflush(stdout);
  return held ? 0 : 1;
}
