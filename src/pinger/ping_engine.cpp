// The rules and the order of one ping; see ping_engine.h.
#include "pinger/ping_engine.h"

#include "base/message_box.h"

namespace quelvar::mdlPing {

namespace {

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Stops the sockets library on every road out of a ping that started it; a problem with the
// start or the stop goes to `problem` when one is given.
class SocketsSession {
 public:
  explicit SocketsSession(PingPlatform& platform, std::optional<SocketsProblem>* problem = nullptr)
      : m_platform(platform), m_problem(problem) {
    std::optional<SocketsProblem> refused = platform.StartSockets();
    m_started = !refused;
    if (refused && m_problem) *m_problem = std::move(refused);
  }
  ~SocketsSession() {
    if (!m_started) return;
    std::optional<SocketsProblem> failed = m_platform.StopSockets();
    if (failed && m_problem) *m_problem = std::move(failed);
  }
  SocketsSession(const SocketsSession&) = delete;
  SocketsSession& operator=(const SocketsSession&) = delete;
  bool started() const { return m_started; }

 private:
  PingPlatform& m_platform;
  std::optional<SocketsProblem>* m_problem;
  bool m_started = false;
};

}  // namespace

std::uint8_t LowByte(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t HighByte(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }

std::optional<SocketsProblem> CheckSocketsStartup(std::uint16_t grantedVersion,
                                                  std::uint16_t maxSockets) {
  const int major = LowByte(grantedVersion);
  const int minor = HighByte(grantedVersion);
  if (major < 1 || (major == 1 && minor < 1)) {
    return SocketsProblem{"Windows Sockets Version " + std::to_string(major) + "." +
                              std::to_string(minor) +
                              " is not supported by Windows Sockets for 32 bit Windows environments.",
                          kMbIconExclamation};
  }
  if (maxSockets < 1) {
    return SocketsProblem{"This application requires a minimum of 1 supported sockets.",
                          kMbIconExclamation};
  }
  return std::nullopt;
}

std::string SocketsCleanupText(long code) {
  return "Windows Sockets error " + std::to_string(code) + " occurred in Cleanup.";
}

std::string_view TrimHost(std::string_view host) {
  const auto first = host.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = host.find_last_not_of(" \t");
  return host.substr(first, last - first + 1);
}

bool IsPossibleHostText(std::string_view host) {
  if (host.empty() || host.size() > kMaxHostTextLength) return false;
  for (char c : host) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '-' && c != '_' && c != '.') return false;
  }
  return true;
}

bool IsHostName(std::string_view host) {
  const auto dot = host.find('.');
  return dot != std::string_view::npos && !IsDigits(host.substr(0, dot));
}

DottedParts ParseDottedParts(std::string_view text) {
  if (text.find('.') == std::string_view::npos) return {DottedParts::Kind::Name, 0};
  std::uint32_t address = 0;
  int count = 0;
  std::size_t start = 0;
  while (true) {
    const auto dot = text.find('.', start);
    const std::string_view part =
        text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (++count > 4 || !IsDigits(part)) return {DottedParts::Kind::Error, 0};
    // Only the last two hexadecimal digits of a part count: its value modulo 256.
    unsigned value = 0;
    for (char c : part) value = (value * 10 + static_cast<unsigned>(c - '0')) % 256;
    address |= static_cast<std::uint32_t>(value) << (8 * (count - 1));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return {DottedParts::Kind::Address, count == 4 ? address : 0};
}

std::string DottedText(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += '.';
    text += std::to_string(bytes[i]);
  }
  return text;
}

std::vector<std::string> ResolveHostAddresses(const std::string& name, PingPlatform& platform) {
  SocketsSession sockets(platform);
  if (!sockets.started()) return {};
  return platform.LookUpHost(name);
}

std::optional<std::uint32_t> ParseDottedAddress(const std::string& text, PingPlatform& platform) {
  const DottedParts parts = ParseDottedParts(text);
  switch (parts.kind) {
    case DottedParts::Kind::Error: return std::nullopt;
    case DottedParts::Kind::Address: return parts.address;
    case DottedParts::Kind::Name: break;
  }
  const std::vector<std::string> addresses = ResolveHostAddresses(text, platform);
  if (addresses.empty()) return 0;
  const DottedParts first = ParseDottedParts(addresses.front());
  return first.kind == DottedParts::Kind::Address ? first.address : 0;
}

std::int32_t SendEchoRequest(const std::string& host, EchoReply& reply, std::uint32_t timeoutMs,
                             PingPlatform& platform) {
  const std::optional<std::uint32_t> address = ParseDottedAddress(host, platform);
  // Address 0 is no host: some systems answer it from the local machine, so it is never sent.
  if (!address || *address == 0) {
    reply.status = kBadDestinationStatus;
    return -static_cast<std::int32_t>(reply.status);
  }
  if (platform.SendEcho(*address, timeoutMs, reply) >= 1) {
    return static_cast<std::int32_t>(reply.roundTripTime);
  }
  // No reply must never read as success, even when the system left the status at 0.
  if (reply.status == 0) reply.status = kGeneralFailureStatus;
  return -static_cast<std::int32_t>(reply.status);
}

namespace {

// The steps of one ping; the sockets session ends (and reports its stop) when it returns, so
// the caller reads the outcome's problem only afterwards.
std::optional<std::uint32_t> PingSteps(const std::string& host, std::uint32_t timeoutMs,
                                       PingPlatform& platform,
                                       std::optional<SocketsProblem>& problem) {
  std::string target(TrimHost(host));
  // Empty or impossible text never reaches the sockets library or the resolver.
  if (!IsPossibleHostText(target)) return std::nullopt;
  SocketsSession sockets(platform, &problem);
  if (!sockets.started()) return std::nullopt;
  if (IsHostName(target)) {
    const std::vector<std::string> addresses = platform.LookUpHost(target);
    if (addresses.empty()) return std::nullopt;
    target = addresses.front();
  }
  EchoReply reply;
  SendEchoRequest(target, reply, timeoutMs, platform);
  if (reply.status != 0) return std::nullopt;
  return reply.roundTripTime;
}

}  // namespace

PingOutcome Ping(const std::string& host, std::uint32_t timeoutMs, PingPlatform& platform) {
  PingOutcome outcome;
  outcome.roundTrip = PingSteps(host, timeoutMs, platform, outcome.problem);
  return outcome;
}

std::optional<std::uint32_t> PingHostRoundTrip(const std::string& host, std::uint32_t timeoutMs,
                                               PingPlatform& platform) {
  return Ping(host, timeoutMs, platform).roundTrip;
}

bool PingHost(const std::string& host, std::uint32_t timeoutMs, PingPlatform& platform) {
  return PingHostRoundTrip(host, timeoutMs, platform).has_value();
}

}  // namespace quelvar::mdlPing
