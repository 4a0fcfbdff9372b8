// The registry behaviour suite against the real registry, and a check of what the program
// wrote with Wine's own reg.exe.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "registry/registry_behaviour_suite.h"
#include "registry/win32/win32_registry.h"
#include "win32/ui_test_lib.h"

namespace quelvar::test {

namespace {

class Win32Harness final : public RegistryHarness {
 public:
  RegistryBackend& Backend() override { return m_registry; }
  void DenyWrite(RegKey hive, const std::string& path) override {
    EXPECT_TRUE(uitest::SetKeyWritable(Win32Registry::ToHkey(hive), path, false));
  }
  void AllowWrite(RegKey hive, const std::string& path) override {
    EXPECT_TRUE(uitest::SetKeyWritable(Win32Registry::ToHkey(hive), path, true));
  }

 private:
  Win32Registry m_registry;
};

}  // namespace

RegistryHarness& MakeRegistryHarness() {
  static Win32Harness harness;
  return harness;
}

TEST_F(RegistryBehaviour, RegQuerySeesWhatTheProgramWrote) {
  WriteMachineValue(Path("Settings\\RamSettings"), "txtAlarm", "250");
  WriteMachineValue(Path("Settings\\RamSettings"), "txtPath", "C:\\some folder\\x");
  SetOrDeleteRegistryValue(kHkeyLocalMachine, Path("Tcp"), "MTU", 4, "1500", false);
  SetOrDeleteRegistryValue(kHkeyLocalMachine, Path("Tcp"), "Wide", 4, std::int32_t{-1}, false);
  CRegister().REGSaveSetting(kHkeyLocalMachine, Path("Tcp"), "*", "unnamed text");

  const std::string settings =
      uitest::RunAndCapture("reg.exe query \"HKLM\\" + Path("Settings\\RamSettings") + "\"");
  EXPECT_NE(settings.find("txtAlarm    REG_SZ    250"), std::string::npos) << settings;
  EXPECT_NE(settings.find("txtPath    REG_SZ    C:\\some folder\\x"), std::string::npos) << settings;

  const std::string tcp = uitest::RunAndCapture("reg.exe query \"HKLM\\" + Path("Tcp") + "\"");
  EXPECT_NE(tcp.find("MTU    REG_DWORD    0x5dc"), std::string::npos) << tcp;
  EXPECT_NE(tcp.find("Wide    REG_DWORD    0xffffffff"), std::string::npos) << tcp;
  EXPECT_NE(tcp.find("(Default)    REG_SZ    unnamed text"), std::string::npos) << tcp;
}

TEST(Win32Registry, PredefinedRootsMapBothWays) {
  EXPECT_EQ(Win32Registry::ToHkey(kHkeyLocalMachine), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(Win32Registry::ToHkey(kHkeyCurrentUser), HKEY_CURRENT_USER);
  EXPECT_EQ(Win32Registry::FromHkey(HKEY_LOCAL_MACHINE), kHkeyLocalMachine);
  EXPECT_EQ(Win32Registry::FromHkey(HKEY_DYN_DATA), kHkeyDynData);
  Win32Registry registry;
  SetRegistryBackend(registry);
  // An empty path enumerates the root itself, which stays usable afterwards.
  const std::vector<std::string> roots = CRegister().GetAllKeys(kHkeyLocalMachine, "");
  EXPECT_NE(std::find(roots.begin(), roots.end(), "Software"), roots.end());
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKeyEx(kHkeyLocalMachine, "Software", kKeyRead, &key), kRegSuccess);
  EXPECT_EQ(registry.CloseKey(key), kRegSuccess);
  SetRegistryBackend(MakeRegistryHarness().Backend());
}

}  // namespace quelvar::test
