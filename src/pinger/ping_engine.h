// One ping, as the pinger makes it: the host rules, the dotted address reading and the order
// of socket start-up, name look-up and echo. The system's sockets and ICMP service sit behind
// PingPlatform (the Win32 one is in win32/mdl_ping.h), so these rules run anywhere.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelvar::mdlPing {

// What every echo carries: 9 characters, no terminating zero.
inline constexpr std::string_view kEchoPayload = "Echo This";
// Both callers wait this long for a reply.
inline constexpr std::uint32_t kPingTimeoutMs = 10000;
// The longest host text that can name a host (a full domain name with its final dot).
inline constexpr std::size_t kMaxHostTextLength = 255;
// The status a refused destination gets (the system's "bad destination"); never 0.
inline constexpr std::uint32_t kBadDestinationStatus = 11018;
// The status of a call that gave no reply and no reason (the system's "general failure").
inline constexpr std::uint32_t kGeneralFailureStatus = 11050;

// The fields of the reply record the pinger reads.
struct EchoReply {
  std::uint32_t address = 0;
  std::uint32_t status = 0;  // 0: the host answered
  std::uint32_t roundTripTime = 0;
};

// What the user is told about the sockets library: it could not be started or used, or its
// clean-up failed.
struct SocketsProblem {
  std::string text;
  unsigned style = 0;  // message box style (kMbOk, kMbIconExclamation)
};

// The system services one ping uses. None of them shows anything: a ping runs on a worker
// thread, so its problems travel back with its outcome and the window tells the user.
class PingPlatform {
 public:
  virtual ~PingPlatform() = default;
  // Starts the sockets library; nothing when it started and can be used, otherwise what the
  // user is told (and the library is not left started).
  virtual std::optional<SocketsProblem> StartSockets() = 0;
  // Stops it again (one stop for each successful start); what the user is told when that fails.
  virtual std::optional<SocketsProblem> StopSockets() = 0;
  // The addresses of a host name as the resolver gives them, in dotted form; empty when the
  // name does not resolve. Called between a start and a stop.
  virtual std::vector<std::string> LookUpHost(const std::string& name) = 0;
  // One echo of kEchoPayload to the address (network byte order, see ParseDottedParts).
  // Returns the number of replies; `reply` holds the first one, or the reason there was none.
  virtual int SendEcho(std::uint32_t address, std::uint32_t timeoutMs, EchoReply& reply) = 0;
};

std::uint8_t LowByte(std::uint16_t value);
std::uint8_t HighByte(std::uint16_t value);

// What the user is told about a sockets library that started: the version it granted
// (major in the low byte) is older than 1.1, or it offers no socket. Nothing when usable.
std::optional<SocketsProblem> CheckSocketsStartup(std::uint16_t grantedVersion,
                                                  std::uint16_t maxSockets);
// The texts of a start-up that failed outright and of a failed clean-up.
inline constexpr const char* kSocketsNotRespondingText =
    "Windows Sockets for 32 bit Windows environments is not successfully responding.";
std::string SocketsCleanupText(long code);

// The host text with blanks at both ends removed; blank-only text gives "".
std::string_view TrimHost(std::string_view host);
// Text that could name a host or address: at most kMaxHostTextLength characters, all of them
// ASCII letters, digits, '-', '_' or '.'. Anything else is refused before the resolver sees it.
bool IsPossibleHostText(std::string_view host);
// The host rule of a ping: text with a "." whose part before the first "." is not a number
// is a name to resolve first; anything else goes to the address reading as it is.
bool IsHostName(std::string_view host);

// Dotted address reading without the name look-up.
struct DottedParts {
  enum class Kind { Name, Error, Address } kind = Kind::Error;
  // Network byte order: the first number in the lowest byte. 0 for fewer than four parts.
  std::uint32_t address = 0;
};
// No "." -> Name; more than four parts, or a part that is not a decimal number -> Error;
// fewer than four -> address 0; each part is kept modulo 256.
DottedParts ParseDottedParts(std::string_view text);

// Bytes of an address joined with "." in decimal ({10,0,0,138} -> "10.0.0.138").
std::string DottedText(const std::uint8_t* bytes, std::size_t count);

// The steps of one ping over a platform; see ping_engine.cpp for their order.
std::vector<std::string> ResolveHostAddresses(const std::string& name, PingPlatform& platform);
// Error (nullopt) for text that cannot be read; a name that does not resolve gives 0.
std::optional<std::uint32_t> ParseDottedAddress(const std::string& text, PingPlatform& platform);
// The echo time when a reply came, otherwise the reply's status negated.
std::int32_t SendEchoRequest(const std::string& host, EchoReply& reply, std::uint32_t timeoutMs,
                             PingPlatform& platform);
// True when the host answered the echo (reply status 0).
bool PingHost(const std::string& host, std::uint32_t timeoutMs, PingPlatform& platform);
// PingHost with the answer's round trip in milliseconds as the reply record gives it (the
// echo alone, without the sockets start-up or the name look-up); nothing when no answer came.
std::optional<std::uint32_t> PingHostRoundTrip(const std::string& host, std::uint32_t timeoutMs,
                                               PingPlatform& platform);

// One ping as the pinger window makes it: the round trip of the answer (nothing when none
// came) and what the user is to be told about the sockets library on the way, if anything.
struct PingOutcome {
  std::optional<std::uint32_t> roundTrip;
  std::optional<SocketsProblem> problem;
};
PingOutcome Ping(const std::string& host, std::uint32_t timeoutMs, PingPlatform& platform);

}  // namespace quelvar::mdlPing
