// Fuzzes the pinger's reading of what the user typed as a host: the host checks and the dotted
// address reading, with a platform that resolves every name to one loopback address and sends
// nothing. Text the checks refuse never reaches the resolver; an address always has four parts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "pinger/ping_engine.h"

namespace {

using namespace quelvar::mdlPing;

class OfflinePlatform final : public PingPlatform {
 public:
  bool started = false;
  int lookups = 0;
  std::optional<SocketsProblem> StartSockets() override {
    started = true;
    return std::nullopt;
  }
  std::optional<SocketsProblem> StopSockets() override {
    started = false;
    return std::nullopt;
  }
  std::vector<std::string> LookUpHost(const std::string&) override {
    ++lookups;
    return {"127.0.0.1"};
  }
  int SendEcho(std::uint32_t, std::uint32_t, EchoReply& reply) override {
    reply.status = 0;
    return 1;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const DottedParts parts = ParseDottedParts(text);
  if (parts.kind == DottedParts::Kind::Address && text.find('.') == std::string::npos) std::abort();
  IsHostName(text);
  OfflinePlatform platform;
  const bool possible = IsPossibleHostText(TrimHost(text));
  PingHost(text, 1, platform);
  if (!possible && platform.lookups != 0) std::abort();
  if (platform.started) std::abort();  // every start has its stop
  return 0;
}
