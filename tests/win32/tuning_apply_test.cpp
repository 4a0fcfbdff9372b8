// Applying presets against Wine's real registry on both Windows lines: every tuned value checked
// with Wine's own reg.exe, and the backup file's bytes read back from the real file system.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/message_box.h"
#include "base/os_family.h"
#include "base/program_folder.h"
#include "base/win32/win32_file_system.h"
#include "registry/win32/win32_registry.h"
#include "tuning/apply_profile.h"
#include "tuning/tuning_profile.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kParams = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInterfaces = kParams + "\\Interfaces";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";
const std::string kClass = "System\\CurrentControlSet\\Services\\Class";
const std::string kNetTrans = kClass + "\\NetTrans";
const std::string kInternet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kCacheSize =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::vector<std::string> kTestInterfaces = {"{QLV-TEST-1}", "{QLV-TEST-2}", "{QLV-TEST-3}"};
const std::vector<std::string> kTestAdapters = {"QLV-TEST-0", "QLV-TEST-1", "QLV-TEST-2"};

class SilentMessageBoxes final : public MessageBoxService {
 public:
  std::vector<std::string> shown;
  int Show(const std::string& text, const std::string&, unsigned) override {
    shown.push_back(text);
    return kIdOk;
  }
};

// reg.exe's view of one key's values: name -> "REG_SZ 64" / "REG_DWORD 0x5dc"; the unnamed
// value is "(Default)". Empty when the key does not exist.
std::map<std::string, std::string> RegQuery(const std::string& hiveAndKey) {
  const std::string output = uitest::RunAndCapture("reg.exe query \"" + hiveAndKey + "\"");
  std::map<std::string, std::string> values;
  std::size_t start = 0;
  bool inKey = false;
  bool sawKey = false;
  while (start < output.size()) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("HKEY_", 0) == 0) {  // the key itself first, then its subkeys
      inKey = !sawKey;
      sawKey = true;
      continue;
    }
    if (!inKey || line.rfind("    ", 0) != 0) continue;
    const std::string rest = line.substr(4);
    const std::size_t gap1 = rest.find("    ");
    if (gap1 == std::string::npos) continue;
    const std::size_t typeStart = gap1 + 4;
    const std::size_t gap2 = rest.find("    ", typeStart);
    const std::string type =
        rest.substr(typeStart, gap2 == std::string::npos ? std::string::npos : gap2 - typeStart);
    const std::string data = gap2 == std::string::npos ? "" : rest.substr(gap2 + 4);
    values[rest.substr(0, gap1)] = type + " " + data;
  }
  return values;
}

std::string Hex(std::int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "0x%x", static_cast<unsigned>(value));
  return buffer;
}

// Deletes a key and everything below it.
void DeleteTree(HKEY root, const std::string& path) { ::SHDeleteKeyA(root, path.c_str()); }

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

void CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(
      ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  ::RegCloseKey(key);
}

std::string ReadFileBytes(const std::string& path) {
  std::string contents;
  Win32FileSystem().ReadWholeFile(path, &contents);
  return contents;
}

class TuningApplyOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    m_savedFamily = OsFamily;
    SetRegistryBackend(m_registry);
    SetFileSystem(m_files);
    SetClock(m_clock);
    SetMessageBoxService(m_boxes);
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "quelvar-tuning-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    SetProgramFolder(m_folder);
    m_hadInterfaces = KeyExists(HKEY_LOCAL_MACHINE, kInterfaces);
    m_hadNetTrans = KeyExists(HKEY_LOCAL_MACHINE, kNetTrans);
    m_hadClass = KeyExists(HKEY_LOCAL_MACHINE, kClass);
    for (const std::string& n : kTestInterfaces)
      CreateKey(HKEY_LOCAL_MACHINE, kInterfaces + "\\" + n);
    for (const std::string& n : kTestAdapters) CreateKey(HKEY_LOCAL_MACHINE, kNetTrans + "\\" + n);
    LoadTuningPresets();
  }

  void TearDown() override {
    for (const std::string& n : kTestInterfaces) {
      DeleteTree(HKEY_LOCAL_MACHINE, kInterfaces + "\\" + n);
      DeleteTree(HKEY_LOCAL_MACHINE, kServices + n);
    }
    for (const std::string& n : kTestAdapters) DeleteTree(HKEY_LOCAL_MACHINE, kNetTrans + "\\" + n);
    if (!m_hadInterfaces) DeleteTree(HKEY_LOCAL_MACHINE, kInterfaces);
    if (!m_hadNetTrans) DeleteTree(HKEY_LOCAL_MACHINE, kNetTrans);
    if (!m_hadClass) DeleteTree(HKEY_LOCAL_MACHINE, kClass);
    for (const std::string& name : m_files.ListFiles(Backups(), "*")) {
      ::DeleteFileA((Backups() + "\\" + name).c_str());
    }
    ::RemoveDirectoryA(Backups().c_str());
    ::RemoveDirectoryA(m_folder.c_str());
    OsFamily = m_savedFamily;
  }

  std::string Backups() const { return m_folder + "\\Backups"; }

  Win32Registry m_registry;
  Win32FileSystem m_files;
  FixedClock m_clock{{2004, 11, 30, 23, 7, 9}};
  SilentMessageBoxes m_boxes;
  std::string m_folder;

 private:
  std::int16_t m_savedFamily = 0;
  bool m_hadInterfaces = false;
  bool m_hadNetTrans = false;
  bool m_hadClass = false;
};

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST_F(TuningApplyOnWine, NtLineWritesNumbersThatRegQuerySeesAndBacksThemUp) {
  OsFamily = 7;
  LoadPreset(4);  // Automatic-E
  ASSERT_TRUE(ApplyTuningProfile());
  const TuningProfile p = g_TuningProfile;

  const auto params = RegQuery("HKLM\\" + kParams);
  const std::map<std::string, std::int32_t> expected = {{"SackOpts", 1},
                                                        {"Tcp1323Opts", 1},
                                                        {"TcpMaxDupAcks", 2},
                                                        {"DefaultReceiveWindow", 8192},
                                                        {"DefaultTTL", p.TTL},
                                                        {"GlobalMaxTcpWindowSize", p.RWIN},
                                                        {"TcpWindowSize", p.RWIN},
                                                        {"EnablePMTUBHDetect", p.BlackHoleDetect},
                                                        {"EnablePMTUDiscovery", p.MTUDiscovery},
                                                        {"KeepAliveTime", p.KeepAliveTime},
                                                        {"KeepAliveInterval", p.KeepAliveInterval},
                                                        {"SYNAttackProtect", p.SYNProtect},
                                                        {"EnableICMPRedirects", p.ICMPRedirect}};
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(params.count(name) ? params.at(name) : "(missing)", "REG_DWORD " + Hex(value))
        << name;
  }
  const auto web = RegQuery("HKCU\\" + kInternet);
  EXPECT_EQ(web.at("MaxConnectionsPer1_0Server"), "REG_DWORD " + Hex(p.HTTP10Connections));
  EXPECT_EQ(web.at("MaxConnectionsPerServer"), "REG_DWORD " + Hex(p.HTTP11Connections));
  EXPECT_EQ(RegQuery("HKLM\\" + kCacheSize)["(Default)"], "REG_DWORD " + Hex(p.NDICacheSize));
  for (const std::string& n : kTestInterfaces) {
    for (const std::string& key : {kInterfaces + "\\" + n, kServices + n + "\\Parameters\\Tcpip"}) {
      const auto values = RegQuery("HKLM\\" + key);
      EXPECT_EQ(values.count("MTU") ? values.at("MTU") : "", "REG_DWORD " + Hex(p.MTU)) << key;
      EXPECT_EQ(values.count("MSS") ? values.at("MSS") : "", "REG_DWORD " + Hex(p.MSS)) << key;
    }
  }
  EXPECT_TRUE(m_boxes.shown.empty());

  // Automatic-C next: both window values and every MTU and MSS go; its backup records Automatic-E.
  LoadPreset(2);
  ASSERT_TRUE(ApplyTuningProfile());
  const auto after = RegQuery("HKLM\\" + kParams);
  EXPECT_EQ(after.count("GlobalMaxTcpWindowSize"), 0u);
  EXPECT_EQ(after.count("TcpWindowSize"), 0u);
  EXPECT_EQ(after.at("DefaultTTL"), "REG_DWORD 0x80");
  for (const std::string& n : kTestInterfaces) {
    EXPECT_TRUE(RegQuery("HKLM\\" + kInterfaces + "\\" + n).empty()) << n;
    EXPECT_TRUE(RegQuery("HKLM\\" + kServices + n + "\\Parameters\\Tcpip").empty()) << n;
  }

  std::vector<std::string> lines = {
      "#2004-11-30#",
      "#23:07:09#",
      "7",
      "\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\"",
      "\"SackOpts\"",
      "1",
      "\"Tcp1323Opts\"",
      "1",
      "\"TcpMaxDupAcks\"",
      "2",
      "\"DefaultReceiveWindow\"",
      "8192",
      "\"DefaultTTL\"",
      "64",
      "\"GlobalMaxTcpWindowSize\"",
      "256960",
      "\"TcpWindowSize\"",
      "256960",
      "\"EnablePMTUBHDetect\"",
      "0",
      "\"EnablePMTUDiscovery\"",
      "1",
      "\"KeepAliveTime\"",
      "7200000",
      "\"KeepAliveInterval\"",
      "1000",
      "\"SYNAttackProtect\"",
      "2",
      "\"EnableICMPRedirects\"",
      "0",
      "\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
      "\"MaxConnectionsPer1_0Server\"",
      "20",
      "\"MaxConnectionsPerServer\"",
      "20",
      "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"",
      "\"\"",
      "0"};
  for (const std::string& n : kTestInterfaces) {
    for (const std::string& key : {kInterfaces + "\\" + n, kServices + n + "\\Parameters\\Tcpip"}) {
      for (const std::string& line :
           {"\"" + key + "\"", std::string("\"MTU\""), std::string("1500"), std::string("\"MSS\""),
            std::string("1460")}) {
        lines.push_back(line);
      }
    }
  }
  EXPECT_EQ(ReadFileBytes(Backups() + "\\002.BCK"), CrLf(lines));
  EXPECT_EQ(m_files.ListFiles(Backups(), "*").size(), 2u);  // no temporary file left
}

TEST_F(TuningApplyOnWine, NineFiveLineWritesTextsThatRegQuerySeesAndBacksThemUp) {
  OsFamily = 3;
  LoadPreset(3);  // Automatic-D
  ASSERT_TRUE(ApplyTuningProfile());
  const TuningProfile p = g_TuningProfile;
  const auto sz = [](std::int32_t n) { return "REG_SZ " + std::to_string(n); };

  const auto mstcp = RegQuery("HKLM\\" + kMstcp);
  const std::map<std::string, std::int32_t> expected = {{"SackOpts", 1},
                                                        {"Tcp1323Opts", 1},
                                                        {"DefaultTTL", p.TTL},
                                                        {"DefaultRcvWindow", p.RWIN},
                                                        {"GlobalMaxTcpWindowSize", p.RWIN},
                                                        {"PMTUBlackHoleDetect", p.BlackHoleDetect},
                                                        {"PMTUDiscovery", p.MTUDiscovery},
                                                        {"KeepAliveTime", p.KeepAliveTime},
                                                        {"KeepAliveInterval", p.KeepAliveInterval}};
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(mstcp.count(name) ? mstcp.at(name) : "(missing)", sz(value)) << name;
  }
  EXPECT_EQ(mstcp.count("SYNAttackProtect"), 0u);
  const auto web = RegQuery("HKCU\\" + kInternet);
  EXPECT_EQ(web.at("MaxConnectionsPer1_0Server"), sz(p.HTTP10Connections));
  EXPECT_EQ(web.at("MaxConnectionsPerServer"), sz(p.HTTP11Connections));
  EXPECT_EQ(RegQuery("HKLM\\" + kCacheSize)["(Default)"], sz(p.NDICacheSize));
  for (const std::string& n : kTestAdapters) {
    const auto values = RegQuery("HKLM\\" + kNetTrans + "\\" + n);
    EXPECT_EQ(values.count("MaxMTU") ? values.at("MaxMTU") : "", sz(p.MTU)) << n;
    EXPECT_EQ(values.count("MaxMSS") ? values.at("MaxMSS") : "", sz(p.MSS)) << n;
  }
  EXPECT_TRUE(m_boxes.shown.empty());

  LoadPreset(1);  // Automatic-B: the window values go, MTU and MSS are written
  ASSERT_TRUE(ApplyTuningProfile());
  const auto after = RegQuery("HKLM\\" + kMstcp);
  EXPECT_EQ(after.count("DefaultRcvWindow"), 0u);
  EXPECT_EQ(after.count("GlobalMaxTcpWindowSize"), 0u);

  std::vector<std::string> lines = {
      "#2004-11-30#",
      "#23:07:09#",
      "3",
      "\"System\\CurrentControlSet\\Services\\VxD\\MSTCP\"",
      "\"SackOpts\"",
      "1",
      "\"Tcp1323Opts\"",
      "1",
      "\"DefaultTTL\"",
      "64",
      "\"DefaultRcvWindow\"",
      "5432",
      "\"GlobalMaxTcpWindowSize\"",
      "5432",
      "\"PMTUBlackHoleDetect\"",
      "0",
      "\"DefaultRcvWindow\"",
      "5432",
      "\"PMTUDiscovery\"",
      "1",
      "\"KeepAliveTime\"",
      "7200000",
      "\"KeepAliveInterval\"",
      "1000",
      "\"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
      "\"MaxConnectionsPer1_0Server\"",
      "20",
      "\"MaxConnectionsPerServer\"",
      "20",
      "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"",
      "\"\"",
      "0"};
  for (const std::string& n : kTestAdapters) {
    for (const std::string& line :
         {"\"" + kNetTrans + "\\" + n + "\"", std::string("\"MaxMTU\""), std::string("576"),
          std::string("\"MaxMSS\""), std::string("536")}) {
      lines.push_back(line);
    }
  }
  EXPECT_EQ(ReadFileBytes(Backups() + "\\002.BCK"), CrLf(lines));
}

}  // namespace
}  // namespace quelvar
