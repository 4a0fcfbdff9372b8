// Round trip of one PingHost to 127.0.0.1 (sockets start-up, address reading, ICMP handle,
// echo, clean-up) against a bare IcmpSendEcho on an open handle, in the same run: medians of
// interleaved runs. Loopback only. Exits with 1 when an echo got no reply (the i686 build run
// under 32-bit Wine checks the 32-bit reply record this way). Built natively it only says that
// it needs Windows.
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#include <ipexport.h>

#include <algorithm>
#include <cstring>
#include <chrono>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/win32/optional_api.h"
#include "pinger/win32/mdl_ping.h"

namespace {

using namespace quelvar;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 201;

class SilentBoxes final : public MessageBoxService {
 public:
  int Show(const std::string& text, const std::string&, unsigned) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return kIdOk;
  }
};

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  SilentBoxes boxes;
  SetMessageBoxService(boxes);
  const auto& icmp = optional_api::Icmp();
  if (!icmp) {
    std::fprintf(stderr, "no ICMP service\n");
    return 1;
  }
  const HANDLE handle = icmp.create();
  ULONG loopback = 0;
  const unsigned char bytes[4] = {127, 0, 0, 1};
  std::memcpy(&loopback, bytes, 4);
  char payload[] = "Echo This";
  alignas(ICMP_ECHO_REPLY) unsigned char reply[sizeof(ICMP_ECHO_REPLY) + 250] = {};
  const DWORD replySize = static_cast<DWORD>(sizeof reply);

  std::vector<double> pingHost, bare;
  int failures = 0;
  for (int i = 0; i < kRuns; ++i) {
    auto start = Clock::now();
    if (!mdlPing::PingHost("127.0.0.1", mdlPing::kPingTimeoutMs)) ++failures;
    pingHost.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());

    start = Clock::now();
    if (icmp.sendEcho(handle, loopback, payload, 9, nullptr, reply, replySize,
                      mdlPing::kPingTimeoutMs) == 0) {
      ++failures;
    }
    bare.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  icmp.close(handle);

  const double host = Median(pingHost);
  const double call = Median(bare);
  std::printf("PingHost(\"127.0.0.1\")      median %8.1f us  (%d runs)\n", host, kRuns);
  std::printf("bare IcmpSendEcho          median %8.1f us\n", call);
  std::printf("ratio                      %8.2f   (target: at most 1.20)\n", host / call);
  std::printf("reply record               %8zu bytes\n", mdlPing::EchoReplyBufferSize());
  // Timings are only printed; echoes that got no reply mean the engine is broken here.
  if (failures > 0) std::printf("%d echoes got no reply\n", failures);
  return failures > 0 ? 1 : 0;
}

#else
int main() {
  std::printf("ping_bench: the echo engine is measured in the Windows builds only\n");
  return 0;
}
#endif
