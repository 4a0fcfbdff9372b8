// One ping over a scripted platform: which address the host text reaches, and when the
// sockets library and the resolver are (not) used.
#include "pinger/ping_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace quelvar::mdlPing {
namespace {

class ScriptedPlatform : public PingPlatform {
 public:
  std::optional<SocketsProblem> StartSockets() override {
    ++starts;
    if (startProblem) return startProblem;
    ++open;
    return std::nullopt;
  }
  std::optional<SocketsProblem> StopSockets() override {
    --open;
    ++stops;
    return stopProblem;
  }
  std::vector<std::string> LookUpHost(const std::string& name) override {
    lookedUp.push_back(name);
    auto it = names.find(name);
    return it == names.end() ? std::vector<std::string>{} : it->second;
  }
  int SendEcho(std::uint32_t address, std::uint32_t, EchoReply& reply) override {
    sentTo.push_back(address);
    reply = answer;
    return replies;
  }

  std::optional<SocketsProblem> startProblem;
  std::optional<SocketsProblem> stopProblem;
  int starts = 0, stops = 0, open = 0;
  std::map<std::string, std::vector<std::string>> names{
      {"localhost", {"127.0.0.1", "127.0.1.1"}}, {"loop.test", {"127.0.0.9"}}};
  EchoReply answer{};
  int replies = 1;
  std::vector<std::string> lookedUp;
  std::vector<std::uint32_t> sentTo;
};

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  const std::uint8_t bytes[4] = {a, b, c, d};
  std::uint32_t address = 0;
  std::memcpy(&address, bytes, 4);
  return address;
}

TEST(ParseDottedPartsTest, AddressesInNetworkByteOrder) {
  using Kind = DottedParts::Kind;
  const struct {
    const char* text;
    Kind kind;
    std::uint32_t address;
  } cases[] = {
      {"192.168.1.1", Kind::Address, Address(0xC0, 0xA8, 0x01, 0x01)},
      {"127.0.0.1", Kind::Address, Address(127, 0, 0, 1)},
      {"256.1.513.255", Kind::Address, Address(0, 1, 1, 255)},  // each part modulo 256
      {"1.2.3", Kind::Address, 0},                               // fewer than four parts
      {"123.example.com", Kind::Error, 0},                       // parts that are no numbers
      {"1.2.3.4.5", Kind::Error, 0},
      {"1..2.3", Kind::Error, 0},
      {"1.2.3.-4", Kind::Error, 0},
      {"localhost", Kind::Name, 0},
  };
  for (const auto& c : cases) {
    const DottedParts parts = ParseDottedParts(c.text);
    EXPECT_EQ(parts.kind, c.kind) << c.text;
    EXPECT_EQ(parts.address, c.address) << c.text;
  }
}

TEST(HostRulesTest, WhichTextIsResolvedAndWhichIsRefused) {
  const struct {
    const char* text;
    bool possible;
    bool name;
  } cases[] = {
      {"www.example.com", true, true},  {"123.example.com", true, false},
      {"127.0.0.1", true, false},       {"localhost", true, false},
      {"my-host_1.lan", true, true},    {".hidden", true, true},
      {"", false, false},               {"ex ample.com", false, true},
      {"host;rm", false, false},        {"h\xC3\xA9.com", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPossibleHostText(c.text), c.possible) << c.text;
    EXPECT_EQ(IsHostName(c.text), c.name) << c.text;
  }
  EXPECT_TRUE(IsPossibleHostText(std::string(255, 'a')));
  EXPECT_FALSE(IsPossibleHostText(std::string(256, 'a')));
  EXPECT_EQ(TrimHost("  127.0.0.1 \t"), "127.0.0.1");
}

TEST(PingHostTest, WhereEachHostTextIsSent) {
  const struct {
    const char* host;
    bool result;
    std::vector<std::uint32_t> sentTo;
  } cases[] = {
      {"127.0.0.1", true, {Address(127, 0, 0, 1)}},
      {" 127.0.0.1 ", true, {Address(127, 0, 0, 1)}},
      {"localhost", true, {Address(127, 0, 0, 1)}},  // the first address the resolver gives
      {"loop.test", true, {Address(127, 0, 0, 9)}},
      {"1.2.3", false, {}},                 // address 0 is never sent
      {"123.example.com", false, {}},       // read as numbers, not resolved
      {"1.2.3.4.5", false, {}},
      {"unknown.test", false, {}},
      {"unknown", false, {}},
  };
  for (const auto& c : cases) {
    ScriptedPlatform platform;
    EXPECT_EQ(PingHost(c.host, kPingTimeoutMs, platform), c.result) << c.host;
    EXPECT_EQ(platform.sentTo, c.sentTo) << c.host;
    EXPECT_EQ(platform.open, 0) << c.host << ": every start is stopped";
  }
}

TEST(PingHostTest, TextThatCannotNameAHostNeverStartsSockets) {
  for (const std::string& host : std::vector<std::string>{"", "   ", "a b.com", std::string(300, 'x') + ".com"}) {
    ScriptedPlatform platform;
    EXPECT_FALSE(PingHost(host, kPingTimeoutMs, platform)) << host;
    EXPECT_EQ(platform.starts, 0) << host;
    EXPECT_TRUE(platform.lookedUp.empty()) << host;
  }
}

TEST(PingHostTest, OnlyAReplyWithStatusZeroIsSuccess) {
  const struct {
    int replies;
    std::uint32_t status;
    bool result;
    std::int32_t echo;
  } cases[] = {
      {1, 0, true, 7},
      {1, 11010, false, 7},       // a reply record whose status is not 0
      {0, 11010, false, -11010},  // timed out
      {0, 0, false, -static_cast<std::int32_t>(kGeneralFailureStatus)},  // no reply, no reason
  };
  for (const auto& c : cases) {
    ScriptedPlatform platform;
    platform.replies = c.replies;
    platform.answer = EchoReply{0, c.status, 7};
    EXPECT_EQ(PingHost("127.0.0.1", 500, platform), c.result) << c.status;
    // The round trip comes only with an answer, never from a record that is none.
    EXPECT_EQ(PingHostRoundTrip("127.0.0.1", 500, platform),
              c.result ? std::optional<std::uint32_t>(7) : std::nullopt)
        << c.status;
    EchoReply reply;
    EXPECT_EQ(SendEchoRequest("127.0.0.1", reply, 500, platform), c.echo) << c.status;
  }
}

TEST(PingHostTest, SocketsThatDoNotStartGiveFalseWithoutAnEcho) {
  ScriptedPlatform platform;
  platform.startProblem = SocketsProblem{kSocketsNotRespondingText, 0};
  EXPECT_FALSE(PingHost("localhost", kPingTimeoutMs, platform));
  EXPECT_TRUE(platform.sentTo.empty());
  EXPECT_TRUE(platform.lookedUp.empty());
  EXPECT_EQ(platform.stops, 0);
}

// The ping shows nothing itself (it runs on a worker thread): what the sockets library's
// start-up or clean-up has to say comes back with the outcome, beside the answer.
TEST(PingHostTest, ASocketsProblemComesBackWithTheOutcome) {
  const SocketsProblem refused{kSocketsNotRespondingText, 0};
  const SocketsProblem cleanup{SocketsCleanupText(-1), 0x30};
  const struct {
    std::optional<SocketsProblem> start, stop;  // the one given is what the user is told
    bool answered;
  } cases[] = {
      {std::nullopt, std::nullopt, true},
      {refused, std::nullopt, false},
      {std::nullopt, cleanup, true},  // answered, then the clean-up failed
  };
  for (const auto& c : cases) {
    ScriptedPlatform platform;
    platform.startProblem = c.start;
    platform.stopProblem = c.stop;
    const PingOutcome outcome = Ping("localhost", kPingTimeoutMs, platform);
    EXPECT_EQ(outcome.roundTrip.has_value(), c.answered);
    const std::optional<SocketsProblem>& told = c.start ? c.start : c.stop;
    ASSERT_EQ(outcome.problem.has_value(), told.has_value());
    if (told) {
      EXPECT_EQ(outcome.problem->text, told->text);
      EXPECT_EQ(outcome.problem->style, told->style);
    }
  }
}

TEST(SocketsStartupTest, VersionsAndSocketCounts) {
  EXPECT_FALSE(CheckSocketsStartup(0x0101, 1));
  EXPECT_FALSE(CheckSocketsStartup(0x0202, 32767));
  EXPECT_EQ(CheckSocketsStartup(0x0001, 5)->text,
            "Windows Sockets Version 1.0 is not supported by Windows Sockets for 32 bit "
            "Windows environments.");
  EXPECT_EQ(CheckSocketsStartup(0x0101, 0)->text,
            "This application requires a minimum of 1 supported sockets.");
}

}  // namespace
}  // namespace quelvar::mdlPing
