// mdlPing on Windows: one ICMP echo through Windows Sockets 1.1 (WSOCK32) and the ICMP
// service (icmp.dll, or iphlpapi.dll where that is where it lives), reached at run time.
// The rules of a ping are in pinger/ping_engine.h; these are its Win32 entry points.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pinger/ping_engine.h"

namespace quelvar::mdlPing {

// The reply record handed to the echo call: the system's reply structure for this target
// followed by room for 250 bytes of echoed data (278 bytes on 32-bit Windows).
std::size_t EchoReplyBufferSize();

std::vector<std::string> ResolveHostAddresses(const std::string& name);
std::optional<std::uint32_t> ParseDottedAddress(const std::string& text);
std::int32_t SendEchoRequest(const std::string& host, EchoReply& reply, std::uint32_t timeoutMs);
// Blocks for up to the time-out; false for any failure. Nothing is shown: a problem of the
// sockets library makes the ping fail (the window's pings, PingHostAsync, bring its text back).
bool PingHost(const std::string& host, std::uint32_t timeoutMs);
// PingHost with the answer's round trip in milliseconds; nothing when no answer came.
std::optional<std::uint32_t> PingHostRoundTrip(const std::string& host, std::uint32_t timeoutMs);

// A ping on a thread of its own, so the window that asked keeps answering. When it is over,
// the worker fills `outcome` and posts the message to the window with wParam the ping's
// `serial`. The window and the worker share the record: whichever lets go last frees it, so a
// window that goes away during a ping leaves nothing behind.
struct BackgroundPing {
  std::string host;
  std::uint32_t timeoutMs = 0;
  HWND window = nullptr;
  UINT message = 0;
  WPARAM serial = 0;   // different for every ping of the process
  PingOutcome outcome;  // the worker's, once the message has arrived
};
// Null when the thread could not be started (then nothing is posted).
std::shared_ptr<const BackgroundPing> PingHostAsync(const std::string& host,
                                                   std::uint32_t timeoutMs, HWND window,
                                                   UINT message);

}  // namespace quelvar::mdlPing
