// mdlPing on Windows: one ICMP echo through Windows Sockets 1.1 (WSOCK32) and the ICMP
// service (icmp.dll, or iphlpapi.dll where that is where it lives), reached at run time.
// The rules of a ping are in pinger/ping_engine.h; these are its Win32 entry points.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pinger/ping_engine.h"

namespace quelvar::mdlPing {

// The reply record handed to the echo call: the system's reply structure for this target
// followed by room for 250 bytes of echoed data (278 bytes on 32-bit Windows).
std::size_t EchoReplyBufferSize();

bool StartSockets();
void StopSockets();
std::vector<std::string> ResolveHostAddresses(const std::string& name);
std::optional<std::uint32_t> ParseDottedAddress(const std::string& text);
std::int32_t SendEchoRequest(const std::string& host, EchoReply& reply, std::uint32_t timeoutMs);
// Blocks for up to the time-out; false for any failure (no message but those of the
// sockets start-up and clean-up).
bool PingHost(const std::string& host, std::uint32_t timeoutMs);
// PingHost with the answer's round trip in milliseconds; nothing when no answer came.
std::optional<std::uint32_t> PingHostRoundTrip(const std::string& host, std::uint32_t timeoutMs);

// PingHost on a thread of its own, so the calling window keeps answering: when it is done,
// `message` is posted to `window` with wParam 1 (the host answered) or 0, and lParam the
// answer's round trip in milliseconds (0 without an answer). False when the
// thread could not be started (then nothing is posted).
bool PingHostAsync(const std::string& host, std::uint32_t timeoutMs, HWND window, UINT message);

}  // namespace quelvar::mdlPing
