// The pinger under Wine, on loopback addresses only: the echo engine against the real ICMP
// service, and the pinger window driven in Quelvar.exe (settings in the registry read with
// reg.exe, the window answering while a ping waits, one ping at a time).
// Two environment variables, set by scripts/test-pinger-network, widen what is checked:
// QUELVAR_SILENT_LOOPBACK=1 (no loopback address answers: time-outs can be seen) and
// QUELVAR_ECHO_CAPTURE=<capture file of the loopback interface> (the echoes on the wire).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "pinger/win32/mdl_ping.h"
#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;
using Clock = std::chrono::steady_clock;

constexpr const char* kPingerKey = "SOFTWARE\\Brannoc\\Quelvar\\Settings\\NetPinger";

bool SilentLoopback() {
  const char* silent = std::getenv("QUELVAR_SILENT_LOOPBACK");
  return silent != nullptr && std::string(silent) == "1";
}

std::string CapturePath() {
  const char* path = std::getenv("QUELVAR_ECHO_CAPTURE");
  return path != nullptr && *path != '\0' ? ToWinePath(path) : std::string();
}

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The ICMP echo requests in a capture file: their destinations and exact payloads.
struct CapturedEcho {
  std::uint32_t destination;
  std::string payload;
};
std::vector<CapturedEcho> CapturedEchoRequests(const std::string& path) {
  const std::string data = ReadWholeFile(path);
  std::vector<CapturedEcho> echoes;
  if (data.size() < 24) return echoes;
  auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, data.data() + at, 4);
    return value;
  };
  if (u32(0) != 0xA1B2C3D4u) return echoes;  // a little-endian capture, microsecond stamps
  std::size_t linkHeader = 0;
  switch (u32(20)) {
    case 1: linkHeader = 14; break;    // Ethernet (Linux's loopback)
    case 113: linkHeader = 16; break;  // Linux cooked
    case 276: linkHeader = 20; break;  // Linux cooked v2
    case 0: linkHeader = 4; break;     // BSD loopback
    default: linkHeader = 0; break;    // raw IP
  }
  for (std::size_t at = 24; at + 16 <= data.size();) {
    const std::size_t length = u32(at + 8);
    const std::size_t packet = at + 16;
    at = packet + length;
    if (at > data.size() || length < linkHeader + 20) break;
    const auto* ip = reinterpret_cast<const unsigned char*>(data.data() + packet + linkHeader);
    const std::size_t ipHeader = (ip[0] & 0x0F) * 4u;
    const std::size_t total = (std::size_t{ip[2]} << 8) | ip[3];
    if ((ip[0] >> 4) != 4 || ip[9] != 1 || total < ipHeader + 8 ||
        linkHeader + total > length || ip[ipHeader] != 8) {
      continue;
    }
    std::uint32_t destination = 0;
    std::memcpy(&destination, ip + 16, 4);
    echoes.push_back({destination, std::string(reinterpret_cast<const char*>(ip + ipHeader + 8),
                                               total - ipHeader - 8)});
  }
  return echoes;
}

std::uint32_t Loopback(std::uint8_t last) {
  const std::uint8_t bytes[4] = {127, 0, 0, last};
  std::uint32_t address = 0;
  std::memcpy(&address, bytes, 4);
  return address;
}

// Fails the test if the engine tells the user anything.
class NoMessages : public MessageBoxService {
 public:
  int Show(const std::string& text, const std::string&, unsigned) override {
    ADD_FAILURE() << "message shown: " << text;
    return kIdOk;
  }
};

class PingerEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMessageBoxService(messages); }
  NoMessages messages;
};

TEST_F(PingerEngineTest, LoopbackAnswersByAddressAndByName) {
  if (SilentLoopback()) GTEST_SKIP() << "loopback is silenced in this run";
  EXPECT_TRUE(mdlPing::PingHost("127.0.0.1", mdlPing::kPingTimeoutMs));
  const std::vector<std::string> addresses = mdlPing::ResolveHostAddresses("localhost");
  ASSERT_FALSE(addresses.empty());
  EXPECT_EQ(addresses.front().rfind("127.", 0), 0u) << addresses.front();
  EXPECT_TRUE(mdlPing::PingHost("localhost", mdlPing::kPingTimeoutMs));
  mdlPing::EchoReply reply;
  EXPECT_GE(mdlPing::SendEchoRequest("127.0.0.2", reply, mdlPing::kPingTimeoutMs), 0);
  EXPECT_EQ(reply.status, 0u);
  EXPECT_EQ(reply.address, Loopback(2));
  // Text that names no host gives false and reaches neither the resolver nor the wire.
  for (const char* host : {"1.2.3", "1.2.3.4.5", "", "   ", "local host", "host\\name"}) {
    EXPECT_FALSE(mdlPing::PingHost(host, mdlPing::kPingTimeoutMs)) << host;
  }

  const std::string capture = CapturePath();
  if (capture.empty()) return;
  // The echoes above on the wire: each carries exactly "Echo This", and nothing left for 0.0.0.0.
  std::vector<CapturedEcho> echoes;
  WaitUntil([&] {
    echoes = CapturedEchoRequests(capture);
    return echoes.size() >= 3;
  }, Milliseconds{3000});
  ASSERT_GE(echoes.size(), 3u) << capture;
  for (const CapturedEcho& echo : echoes) {
    EXPECT_EQ(echo.payload, "Echo This");
    EXPECT_NE(echo.destination, 0u);
  }
}

TEST_F(PingerEngineTest, ANonAnsweringAddressGivesFalseWithinTheTimeOut) {
  if (!SilentLoopback()) GTEST_SKIP() << "every loopback address answers here";
  const auto start = Clock::now();
  EXPECT_FALSE(mdlPing::PingHost("127.0.0.1", 1500));
  const long long elapsed = MillisecondsSince(start);
  EXPECT_GE(elapsed, 1000) << "no reply should have been waited for";
  EXPECT_LE(elapsed, 4000);
  mdlPing::EchoReply reply;
  EXPECT_LT(mdlPing::SendEchoRequest("127.0.0.1", reply, 500), 0);
  EXPECT_NE(reply.status, 0u);
}

class PingerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kPingerKey);
    StartWithPingerWindow();
  }
  // Starts Quelvar.exe (none may run) and brings its pinger window to the front.
  void StartWithPingerWindow() {
    ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
    main = StartQuelvar(quelvar);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ClickFace(main, "Ping Settings"));
    window = FindChildById(main, IDC_FRAME_NET_PINGER);
    ASSERT_NE(window, nullptr);
    window = ::GetParent(window);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
  }
  void TearDown() override {
    quelvar.Close();
    ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, kPingerKey);
  }

  HWND Control(int id) const { return FindChildById(window, id); }
  bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
  bool Checked(int id) const { return SendWithTimeout(Control(id), BM_GETCHECK) == BST_CHECKED; }
  int Selected() const {
    return static_cast<int>(SendWithTimeout(Control(IDC_PINGER_INTERVAL), CB_GETCURSEL));
  }
  std::string ItemText(int index) const {
    HWND list = Control(IDC_PINGER_INTERVAL);
    const auto length = SendWithTimeout(list, CB_GETLBTEXTLEN, index);
    if (length <= 0 || length > 30) return "<none>";
    // The item text is fetched through the list's window text only for the selected item,
    // so select it, read, and put the selection back without a notification.
    const auto old = SendWithTimeout(list, CB_GETCURSEL);
    SendWithTimeout(list, CB_SETCURSEL, index);
    const std::string text = GetText(list);
    SendWithTimeout(list, CB_SETCURSEL, old);
    return text;
  }
  // A user's choice in the list: the selection and the notification it sends.
  void ChooseInterval(int index) {
    HWND list = Control(IDC_PINGER_INTERVAL);
    SendWithTimeout(list, CB_SETCURSEL, index);
    SendWithTimeout(window, WM_COMMAND, MAKEWPARAM(IDC_PINGER_INTERVAL, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(list));
  }
  std::string Stored(const std::string& name) {
    const std::string output =
        RunAndCapture("reg.exe query \"HKLM\\" + std::string(kPingerKey) + "\" /v " + name);
    const std::size_t type = output.find("REG_SZ");
    if (type == std::string::npos) return "<missing> " + output;
    std::string value = output.substr(type + 6);
    const std::size_t first = value.find_first_not_of(" \t");
    const std::size_t last = value.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
  }

  // Saves manual mode with the host, interval index 0 (a ping at every tick) and the pinger on.
  void SaveManual(const std::string& host) {
    if (!Checked(IDX_PINGER_DO_PINGING)) {
      ASSERT_TRUE(ClickAndWait(Control(IDX_PINGER_DO_PINGING)));
    }
    ASSERT_TRUE(ClickAndWait(Control(IDC_PINGER_MANUAL)));
    ASSERT_TRUE(SetText(Control(IDE_PINGER_HOST), host));
    ChooseInterval(0);
    ASSERT_TRUE(ClickAndWait(Control(IDC_PINGER_SAVE)));
  }

  // The longest a message to the window waited for an answer, while `busy` holds (at most
  // `limit`); also how long it held.
  long long LongestWait(const std::function<bool()>& busy, Milliseconds limit, long long& held) {
    long long longest = 0;
    const auto start = Clock::now();
    do {
      const auto sent = Clock::now();
      DWORD_PTR result = 0;
      ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
      longest = std::max(longest, MillisecondsSince(sent));
      ::Sleep(20);
    } while (busy() && MillisecondsSince(start) < limit.count());
    held = MillisecondsSince(start);
    return longest;
  }

  Process quelvar;
  HWND main = nullptr;
  HWND window = nullptr;
};

TEST_F(PingerWindowTest, FirstStartThenManualModeSavesTheSixValues) {
  // First start: automatic mode shown, everything but "Enable Pinger" disabled, nothing to save.
  EXPECT_EQ(GetText(Control(IDC_FRAME_NET_PINGER)), "Net Pinger Settings");
  EXPECT_EQ(GetText(Control(IDC_PINGER_CONFIGURATION)), "Configuration");
  EXPECT_FALSE(Checked(IDX_PINGER_DO_PINGING));
  EXPECT_TRUE(Checked(IDC_PINGER_AUTO));
  EXPECT_FALSE(Checked(IDC_PINGER_MANUAL));
  EXPECT_EQ(GetText(Control(IDE_PINGER_HOST)), "Automatic");
  EXPECT_EQ(SendWithTimeout(Control(IDC_PINGER_INTERVAL), CB_GETCOUNT), 60);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(ItemText(0), "1 min.");
  EXPECT_EQ(ItemText(59), "60 min.");
  for (int id : {IDC_PINGER_AUTO, IDE_PINGER_HOST, IDC_PINGER_INTERVAL, IDX_PINGER_SOUND,
                 IDC_PINGER_PING_NOW, IDC_PINGER_SAVE}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }

  ASSERT_TRUE(ClickAndWait(Control(IDX_PINGER_DO_PINGING)));
  EXPECT_TRUE(Enabled(IDC_PINGER_SAVE));
  EXPECT_TRUE(Enabled(IDC_PINGER_PING_NOW));
  EXPECT_FALSE(Enabled(IDE_PINGER_HOST)) << "automatic mode keeps the host fixed";
  ASSERT_TRUE(ClickAndWait(Control(IDC_PINGER_MANUAL)));
  EXPECT_EQ(GetText(Control(IDE_PINGER_HOST)), "www.example.com");
  EXPECT_TRUE(Enabled(IDE_PINGER_HOST));
  ASSERT_TRUE(SetText(Control(IDE_PINGER_HOST), "127.0.0.1"));
  ChooseInterval(2);
  ASSERT_TRUE(ClickAndWait(Control(IDX_PINGER_SOUND)));
  ASSERT_TRUE(ClickAndWait(Control(IDC_PINGER_SAVE)));
  EXPECT_FALSE(Enabled(IDC_PINGER_SAVE));
  EXPECT_TRUE(Checked(IDX_PINGER_SOUND));
  WaitUntil([] { return false; }, Milliseconds{300});  // let the last clicks paint
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("pinger-manual")));

  const std::pair<const char*, const char*> stored[] = {
      {"chkDoPinging", "1"}, {"optAuto", "False"},      {"optManual", "True"},
      {"txtPingHost", "127.0.0.1"}, {"cmbPingInterval", "2"}, {"chkSound", "1"}};
  for (const auto& [name, text] : stored) EXPECT_EQ(Stored(name), text) << name;
}

// What this guards (the window answering during a ping that waits its full 10 s) can only
// fail where the ping waits: in the silent phase of scripts/test-pinger-network. In the
// ordinary run loopback answers at once, so only the ping's end is checked and the test says
// it was skipped.
TEST_F(PingerWindowTest, TheWindowKeepsAnsweringWhileAPingWaits) {
  SaveManual("127.0.0.1");
  HWND pingNow = Control(IDC_PINGER_PING_NOW);
  ASSERT_TRUE(::IsWindowEnabled(pingNow));
  ASSERT_TRUE(Click(pingNow));
  if (!SilentLoopback()) {
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(pingNow) != FALSE; }, Milliseconds{2000}))
        << "the ping did not finish";
    GTEST_SKIP() << "loopback answers at once here: the wait is checked with a silenced "
                    "loopback (scripts/test-pinger-network)";
  }
  // While the ping is under way, "Ping Now" waits and the window answers every message.
  long long held = 0;
  const long long longest =
      LongestWait([&] { return !::IsWindowEnabled(pingNow); }, Milliseconds{12000}, held);
  EXPECT_LT(longest, 100) << "a message waited " << longest << " ms during the ping";
  EXPECT_TRUE(::IsWindowEnabled(pingNow)) << "the ping did not finish";
  // Nothing answers: the ping gave up after its 10 s.
  EXPECT_GE(held, 9000);
}

TEST_F(PingerWindowTest, AScheduledTickDuringAPingSendsNoSecondEcho) {
  const std::string capture = CapturePath();
  if (!SilentLoopback() || capture.empty()) {
    GTEST_SKIP() << "needs a silenced, captured loopback (scripts/test-pinger-network)";
  }
  SaveManual("127.0.0.7");
  auto echoesTo7 = [&] {
    int count = 0;
    for (const CapturedEcho& echo : CapturedEchoRequests(capture)) {
      if (echo.destination == Loopback(7)) ++count;
    }
    return count;
  };
  const int before = echoesTo7();
  HWND pingNow = Control(IDC_PINGER_PING_NOW);
  ASSERT_TRUE(Click(pingNow));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(pingNow); }, Milliseconds{2000}));
  // The timer's tick, due at every tick with the first interval, falls during the ping.
  for (int i = 0; i < 3; ++i) {
    ::PostMessageA(window, WM_TIMER, 1, 0);
    ::Sleep(300);
  }
  EXPECT_TRUE(WaitUntil([&] { return echoesTo7() == before + 1; }, Milliseconds{3000}));
  ::Sleep(500);
  EXPECT_EQ(echoesTo7(), before + 1) << "a second echo went out during the ping";
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(pingNow) != FALSE; }, Milliseconds{12000}));
  // Once it is over, the next tick pings the saved host again.
  ::PostMessageA(window, WM_TIMER, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return echoesTo7() == before + 2; }, Milliseconds{3000}));
}

TEST_F(PingerWindowTest, PingNowShowsItsOutcomeAndTheNextPingInTheStatus) {
  HWND status = Control(IDC_PINGER_STATUS);
  EXPECT_EQ(GetText(status),
            "Last ping: none yet\nFailures in a row: 0.   Next ping: not scheduled");
  SaveManual("127.0.0.1");
  EXPECT_EQ(GetText(status).find("not scheduled"), std::string::npos) << GetText(status);
  ASSERT_TRUE(Click(Control(IDC_PINGER_PING_NOW)));
  const std::string outcome =
      SilentLoopback() ? ", 127.0.0.1, no answer\n" : ", 127.0.0.1, answered in ";
  EXPECT_TRUE(WaitUntil([&] { return GetText(status).find(outcome) != std::string::npos; },
                        Milliseconds{SilentLoopback() ? 15000 : 5000}))
      << GetText(status);
  EXPECT_NE(GetText(status).find(SilentLoopback() ? "in a row: 1." : "in a row: 0."),
            std::string::npos)
      << GetText(status);
  WaitUntil([] { return false; }, Milliseconds{300});  // let the label paint
  ASSERT_TRUE(SaveScreenshot(ScreenshotPath("pinger-status")));
}

TEST_F(PingerWindowTest, AnUnansweredScheduledPingAddsALineToTheTrayTipUntilThePingerIsOff) {
  // The XP line shows the tip on two lines; the shell of the 9x line shows one line only.
  const struct {
    const char* wineVersion;
    const char* line;
  } lines[] = {{"", "\nPinger: the last ping got no answer"},
               {"win98", " - Pinger: the last ping got no answer"}};
  for (const auto& windows : lines) {
    SCOPED_TRACE(windows.wineVersion);
    ScopedWineVersion version(FileNameOf(QuelvarExePath()), windows.wineVersion);
    if (*windows.wineVersion != '\0') {
      quelvar.Close();
      StartWithPingerWindow();
    }
    // "1.2.3" reads as address 0, which is refused before anything is sent: a ping that
    // fails at once, with nothing on the wire.
    SaveManual("1.2.3");
    HWND status = Control(IDC_PINGER_STATUS);
    HWND tray = FindChildById(main, IDC_TRAY1);
    ASSERT_NE(tray, nullptr);
    const std::string line = windows.line;
    auto hasLine = [&] {
      const std::string tip = GetText(tray);
      return tip.size() > line.size() &&
             tip.compare(tip.size() - line.size(), line.size(), line) == 0;
    };
    EXPECT_FALSE(hasLine()) << GetText(tray);
    ::PostMessageA(window, WM_TIMER, 1, 0);  // the tick that pings (interval 1)
    EXPECT_TRUE(WaitUntil(
        [&] { return GetText(status).find("1.2.3, no answer") != std::string::npos; },
        Milliseconds{5000}))
        << GetText(status);
    EXPECT_TRUE(WaitUntil(hasLine, Milliseconds{2000})) << GetText(tray);
    // The tip's own text before the line is one line, as it was.
    const std::string tip = GetText(tray);
    EXPECT_EQ(std::count(tip.begin(), tip.end(), '\n'), line[0] == '\n' ? 1 : 0) << tip;

    // A failed "Ping Now" counts in the row too.
    ASSERT_TRUE(Click(Control(IDC_PINGER_PING_NOW)));
    EXPECT_TRUE(WaitUntil(
        [&] { return GetText(status).find("in a row: 2.") != std::string::npos; },
        Milliseconds{5000}))
        << GetText(status);

    // Switched off and saved: nothing is scheduled and the line goes.
    ASSERT_TRUE(ClickAndWait(Control(IDX_PINGER_DO_PINGING)));
    ASSERT_TRUE(ClickAndWait(Control(IDC_PINGER_SAVE)));
    EXPECT_NE(GetText(status).find("Next ping: not scheduled"), std::string::npos)
        << GetText(status);
    EXPECT_TRUE(WaitUntil([&] { return !hasLine(); }, Milliseconds{2000})) << GetText(tray);
    EXPECT_EQ(GetText(tray).find("Pinger"), std::string::npos) << GetText(tray);
  }
}

}  // namespace
}  // namespace quelvar
