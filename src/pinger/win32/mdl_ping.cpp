// mdlPing on Windows; see mdl_ping.h.
#include "pinger/win32/mdl_ping.h"

#include <winsock.h>
#include <ipexport.h>

#include <memory>

#include "base/message_box.h"
#include "base/win32/optional_api.h"

namespace quelvar::mdlPing {

namespace {

// Room for the echoed data behind the reply structure.
constexpr std::size_t kEchoDataRoom = 250;
constexpr std::size_t kReplyBufferSize = sizeof(ICMP_ECHO_REPLY) + kEchoDataRoom;
#ifndef _WIN64
static_assert(kReplyBufferSize == 278, "the 32-bit reply record is 278 bytes");
#endif

// The ICMP service handle of one echo.
class IcmpHandle {
 public:
  IcmpHandle() {
    if (const auto& icmp = optional_api::Icmp()) m_handle = icmp.create();
  }
  ~IcmpHandle() {
    if (*this) optional_api::Icmp().close(m_handle);
  }
  IcmpHandle(const IcmpHandle&) = delete;
  IcmpHandle& operator=(const IcmpHandle&) = delete;
  HANDLE get() const { return m_handle; }
  explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};

class Win32PingPlatform : public PingPlatform {
 public:
  std::optional<SocketsProblem> StartSockets() override {
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) {
      return SocketsProblem{kSocketsNotRespondingText, kMbOk};
    }
    std::optional<SocketsProblem> problem = CheckSocketsStartup(data.wVersion, data.iMaxSockets);
    // The start-up did succeed: it is undone here, as the caller will not stop it.
    if (problem) ::WSACleanup();
    return problem;
  }

  std::optional<SocketsProblem> StopSockets() override {
    const int code = ::WSACleanup();
    if (code == 0) return std::nullopt;
    return SocketsProblem{SocketsCleanupText(code), kMbIconExclamation};
  }

  std::vector<std::string> LookUpHost(const std::string& name) override {
    std::vector<std::string> addresses;
    const hostent* host = ::gethostbyname(name.c_str());
    if (host == nullptr || host->h_addr_list == nullptr) return addresses;
    for (char** address = host->h_addr_list; *address != nullptr; ++address) {
      addresses.push_back(DottedText(reinterpret_cast<const std::uint8_t*>(*address),
                                     static_cast<std::size_t>(host->h_length)));
    }
    return addresses;
  }

  int SendEcho(std::uint32_t address, std::uint32_t timeoutMs, EchoReply& reply) override {
    reply = EchoReply{};
    IcmpHandle icmp;
    if (!icmp) {
      reply.status = kGeneralFailureStatus;
      return 0;
    }
    char payload[kEchoPayload.size() + 1] = {};
    kEchoPayload.copy(payload, kEchoPayload.size());
    alignas(ICMP_ECHO_REPLY) unsigned char buffer[kReplyBufferSize] = {};
    const DWORD replies = optional_api::Icmp().sendEcho(
        icmp.get(), address, payload, static_cast<WORD>(kEchoPayload.size()), nullptr, buffer,
        static_cast<DWORD>(sizeof buffer), timeoutMs);
    const auto* record = reinterpret_cast<const ICMP_ECHO_REPLY*>(buffer);
    reply.address = record->Address;
    reply.status = record->Status;
    reply.roundTripTime = record->RoundTripTime;
    if (replies == 0 && reply.status == 0) reply.status = ::GetLastError();
    return static_cast<int>(replies);
  }
};

// The worker's own hold on the record, handed over through the thread's parameter.
using PingHold = std::shared_ptr<BackgroundPing>;

DWORD WINAPI PingThread(LPVOID parameter) {
  const std::unique_ptr<PingHold> hold(static_cast<PingHold*>(parameter));
  BackgroundPing& job = **hold;
  try {
    Win32PingPlatform platform;
    job.outcome = Ping(job.host, job.timeoutMs, platform);
  } catch (...) {
    job.outcome = PingOutcome{};
  }
  ::PostMessageA(job.window, job.message, job.serial, 0);
  return 0;
}

}  // namespace

std::size_t EchoReplyBufferSize() { return kReplyBufferSize; }

std::vector<std::string> ResolveHostAddresses(const std::string& name) {
  Win32PingPlatform platform;
  return ResolveHostAddresses(name, platform);
}

std::optional<std::uint32_t> ParseDottedAddress(const std::string& text) {
  Win32PingPlatform platform;
  return ParseDottedAddress(text, platform);
}

std::int32_t SendEchoRequest(const std::string& host, EchoReply& reply, std::uint32_t timeoutMs) {
  Win32PingPlatform platform;
  return SendEchoRequest(host, reply, timeoutMs, platform);
}

bool PingHost(const std::string& host, std::uint32_t timeoutMs) {
  try {
    Win32PingPlatform platform;
    return PingHost(host, timeoutMs, platform);
  } catch (...) {
    return false;
  }
}

std::optional<std::uint32_t> PingHostRoundTrip(const std::string& host, std::uint32_t timeoutMs) {
  try {
    Win32PingPlatform platform;
    return PingHostRoundTrip(host, timeoutMs, platform);
  } catch (...) {
    return std::nullopt;
  }
}

std::shared_ptr<const BackgroundPing> PingHostAsync(const std::string& host,
                                                   std::uint32_t timeoutMs, HWND window,
                                                   UINT message) {
  static WPARAM serials = 0;
  // The ICMP library is looked up here, on the caller's thread, before any worker needs it.
  optional_api::Icmp();
  auto job = std::make_shared<BackgroundPing>();
  job->host = host;
  job->timeoutMs = timeoutMs;
  job->window = window;
  job->message = message;
  job->serial = ++serials;
  auto hold = std::make_unique<PingHold>(job);
  DWORD threadId = 0;
  const HANDLE thread = ::CreateThread(nullptr, 0, PingThread, hold.get(), 0, &threadId);
  if (thread == nullptr) return nullptr;
  hold.release();
  ::CloseHandle(thread);
  return job;
}

}  // namespace quelvar::mdlPing
