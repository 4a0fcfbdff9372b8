// The registry behaviour suite. The native binary runs it against the in-memory registry, the
// Wine binary against the real registry; both must give the same results. Include it in exactly
// one source file per binary, after defining MakeRegistryHarness() for that binary.
// Every test works under its own scratch key, SOFTWARE\QuelvarTest\<test name>, in HKCU and
// HKLM, removed before and after the test.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "registry/cregister.h"
#include "registry/reg_value.h"
#include "registry/registry_access.h"
#include "registry/registry_backend.h"
#include "registry/settings.h"

namespace quelvar::test {

// What each binary supplies: the backend, and a way to make a key readable but not writable.
class RegistryHarness {
 public:
  virtual ~RegistryHarness() = default;
  virtual RegistryBackend& Backend() = 0;
  virtual void DenyWrite(RegKey hive, const std::string& path) = 0;
  virtual void AllowWrite(RegKey hive, const std::string& path) = 0;
  // Keys the backend holds open, or -1 when it cannot tell.
  virtual long OpenHandleCount() const { return -1; }
};

// Lives for the whole run (the backend slot keeps pointing at its backend).
RegistryHarness& MakeRegistryHarness();

inline constexpr const char* kTestRoot = "SOFTWARE\\QuelvarTest";

class RegistryBehaviour : public ::testing::Test {
 protected:
  void SetUp() override {
    harness = &MakeRegistryHarness();
    SetRegistryBackend(harness->Backend());
    scratch = std::string(kTestRoot) + "\\" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveTree(kHkeyCurrentUser, scratch);
    RemoveTree(kHkeyLocalMachine, scratch);
    handlesBefore = harness->OpenHandleCount();
  }
  void TearDown() override {
    // Every operation closes the keys it opened.
    EXPECT_EQ(harness->OpenHandleCount(), handlesBefore);
    for (const auto& [hive, path] : denied) harness->AllowWrite(hive, path);
    for (RegKey hive : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      RemoveTree(hive, scratch);
      RegKey root = 0;
      if (Reg().OpenKeyEx(hive, kTestRoot, kKeyAllAccess, &root) == kRegSuccess) {
        char name[256];
        const bool empty = Reg().EnumKey(root, 0, name, sizeof(name)) == kRegNoMoreItems;
        Reg().CloseKey(root);
        if (empty) DeleteKeyAt(hive, kTestRoot);
      }
    }
  }

  static RegistryBackend& Reg() { return Registry(); }

  std::string Path(const std::string& relative) const {
    return relative.empty() ? scratch : scratch + "\\" + relative;
  }

  void DenyWrite(RegKey hive, const std::string& path) {
    harness->DenyWrite(hive, path);
    denied.emplace_back(hive, path);
  }

  static void DeleteKeyAt(RegKey hive, const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    RegKey parent = hive;
    if (slash != std::string::npos &&
        Reg().OpenKeyEx(hive, path.substr(0, slash), kKeyAllAccess, &parent) != kRegSuccess) {
      return;
    }
    Reg().DeleteKey(parent, slash == std::string::npos ? path : path.substr(slash + 1));
    if (parent != hive) Reg().CloseKey(parent);
  }

  static void RemoveTree(RegKey hive, const std::string& path) {
    for (const std::string& child : Subkeys(hive, path)) RemoveTree(hive, path + "\\" + child);
    DeleteKeyAt(hive, path);
  }

  // Subkey names through RegEnumKeyEx, in the order the registry gives them.
  static std::vector<std::string> Subkeys(RegKey hive, const std::string& path) {
    std::vector<std::string> names;
    RegKey key = 0;
    if (Reg().OpenKeyEx(hive, path, kKeyRead, &key) != kRegSuccess) return names;
    char name[256];
    for (std::uint32_t index = 0;; ++index) {
      std::uint32_t length = sizeof(name);
      if (Reg().EnumKeyEx(key, index, name, &length) != kRegSuccess) break;
      names.emplace_back(name, length);
    }
    Reg().CloseKey(key);
    return names;
  }

  static bool KeyExists(RegKey hive, const std::string& path) {
    RegKey key = 0;
    if (Reg().OpenKeyEx(hive, path, kKeyRead, &key) != kRegSuccess) return false;
    Reg().CloseKey(key);
    return true;
  }

  struct Raw {
    RegStatus status = kRegFileNotFound;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  static Raw RawValue(RegKey hive, const std::string& path, const std::string& name) {
    Raw raw;
    RegKey key = 0;
    raw.status = Reg().OpenKeyEx(hive, path, kKeyRead, &key);
    if (raw.status != kRegSuccess) return raw;
    std::uint32_t size = 0;
    raw.status = Reg().QueryValueEx(key, name, &raw.type, nullptr, &size);
    if (raw.status == kRegSuccess) {
      raw.data.resize(size);
      raw.status = Reg().QueryValueEx(key, name, &raw.type, raw.data.data(), &size);
      raw.data.resize(size);
    }
    Reg().CloseKey(key);
    return raw;
  }
  static void PutRaw(RegKey hive, const std::string& path, const std::string& name,
                     std::uint32_t type, const std::vector<std::uint8_t>& data) {
    RegKey key = 0;
    ASSERT_EQ(Reg().CreateKeyEx(hive, path, kKeyAllAccess, false, &key), kRegSuccess);
    EXPECT_EQ(Reg().SetValueEx(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())),
              kRegSuccess);
    Reg().CloseKey(key);
  }
  static std::vector<std::uint8_t> TextBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
  }

  RegistryHarness* harness = nullptr;
  std::string scratch;
  long handlesBefore = -1;
  std::vector<std::pair<RegKey, std::string>> denied;
};

// --- The five operations ---

TEST_F(RegistryBehaviour, ReadingWhatIsMissingGivesTheDefaultUnchangedInType) {
  PutRaw(kHkeyCurrentUser, Path("Present"), "other", kRegSz, TextBytes("x"));
  const RegValue defaults[] = {RegValue("0"), RegValue(std::int32_t{7}), RegValue(std::int16_t{-3}),
                               RegValue(true), RegValue(2.5), RegValue("")};
  for (const RegValue& fallback : defaults) {
    EXPECT_EQ(ReadRegistryValue(kHkeyCurrentUser, Path("Missing\\Deeper"), "v", fallback), fallback);
    EXPECT_EQ(ReadRegistryValue(kHkeyCurrentUser, Path("Present"), "v", fallback), fallback);
  }
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, Path("Missing"))) << "reading never creates keys";
}

TEST_F(RegistryBehaviour, ReadingGivesAtMost254CharactersAndTheDefaultBeyond) {
  const struct {
    std::size_t length;
    bool readsBack;
  } cases[] = {{0, true}, {1, true}, {253, true}, {254, true}, {255, false}, {300, false}};
  for (const auto& c : cases) {
    const std::string text(c.length, 'q');
    WriteRegistryValue(kHkeyCurrentUser, Path(""), "long", text);
    EXPECT_EQ(ReadRegistryValue(kHkeyCurrentUser, Path(""), "long", "default"),
              c.readsBack ? RegValue(text) : RegValue("default"))
        << c.length << " characters";
  }
}

TEST_F(RegistryBehaviour, WritingCreatesEveryMissingKeyOnThePath) {
  WriteMachineValue(Path("One\\Two\\Three"), "name", "value");
  EXPECT_EQ(Subkeys(kHkeyLocalMachine, Path("")), std::vector<std::string>{"One"});
  EXPECT_EQ(Subkeys(kHkeyLocalMachine, Path("One")), std::vector<std::string>{"Two"});
  EXPECT_EQ(ReadMachineValue(Path("One\\Two\\Three"), "name", "none"), RegValue("value"));
}

TEST_F(RegistryBehaviour, WrittenTextIsStoredAsZeroTerminatedTextAndReadsBackUnchanged) {
  const struct {
    RegValue written;
    std::string text;
  } cases[] = {{RegValue(""), ""},
               {RegValue("hello"), "hello"},
               {RegValue("C:\\Program Files\\two  spaces "), "C:\\Program Files\\two  spaces "},
               {RegValue(std::int32_t{-42}), "-42"},
               {RegValue(std::int16_t{1500}), "1500"},
               {RegValue(true), "True"}};
  for (const auto& c : cases) {
    WriteRegistryValue(kHkeyCurrentUser, Path(""), "v", c.written);
    const Raw raw = RawValue(kHkeyCurrentUser, Path(""), "v");
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.data, TextBytes(c.text)) << "the size counts the terminating zero";
    EXPECT_EQ(ReadRegistryValue(kHkeyCurrentUser, Path(""), "v", "default"), RegValue(c.text));
  }
}

TEST_F(RegistryBehaviour, KeyNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  WriteRegistryValue(kHkeyCurrentUser, Path("MixedCase\\Inner"), "Value", "one");
  WriteRegistryValue(kHkeyCurrentUser, Path("MIXEDCASE\\inner"), "VALUE", "two");
  EXPECT_EQ(Subkeys(kHkeyCurrentUser, Path("")), std::vector<std::string>{"MixedCase"});
  EXPECT_EQ(Subkeys(kHkeyCurrentUser, Path("mixedcase")), std::vector<std::string>{"Inner"});
  EXPECT_EQ(ReadRegistryValue(kHkeyCurrentUser, Path("mixedCASE\\INNER"), "value", ""), RegValue("two"));
}

TEST_F(RegistryBehaviour, ZeroLengthDataReadsAsTheDefaultWithoutFailing) {
  PutRaw(kHkeyCurrentUser, Path(""), "empty", kRegSz, {});
  EXPECT_EQ(ReadRegistryValue(kHkeyCurrentUser, Path(""), "empty", "fallback"), RegValue("fallback"));
  CRegister reg;
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, Path(""), "empty", "0"), "0");
  EXPECT_EQ(reg.myREGGetSetting(kHkeyCurrentUser, Path(""), "empty", 7.0), 7.0);
}

TEST_F(RegistryBehaviour, TypeOneSetsTextAndDeletesWithoutCreating) {
  EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyCurrentUser, Path("Run"), "entry", 1,
                                     "C:\\Tools\\Quelvar.exe", false), kRegSuccess);
  Raw raw = RawValue(kHkeyCurrentUser, Path("Run"), "entry");
  EXPECT_EQ(raw.type, kRegSz);
  EXPECT_EQ(raw.data, TextBytes("C:\\Tools\\Quelvar.exe"));

  EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyCurrentUser, Path("Run"), "entry", 1, "ignored", true),
            kRegSuccess);
  EXPECT_EQ(RawValue(kHkeyCurrentUser, Path("Run"), "entry").status, kRegFileNotFound);
  EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyCurrentUser, Path("Run"), "entry", 1, "ignored", true),
            kRegFileNotFound)
      << "deleting a missing value reports it and creates nothing";
  EXPECT_EQ(RawValue(kHkeyCurrentUser, Path("Run"), "entry").status, kRegFileNotFound);
}

TEST_F(RegistryBehaviour, TypeFourStoresALittleEndianSigned32BitInteger) {
  const struct {
    RegValue value;
    std::vector<std::uint8_t> bytes;
  } cases[] = {{RegValue("1500"), {0xDC, 0x05, 0x00, 0x00}},
               {RegValue(std::int32_t{1500}), {0xDC, 0x05, 0x00, 0x00}},
               {RegValue(std::int32_t{-1}), {0xFF, 0xFF, 0xFF, 0xFF}},
               {RegValue("2.5"), {0x02, 0x00, 0x00, 0x00}},
               {RegValue(3.5), {0x04, 0x00, 0x00, 0x00}},
               {RegValue(" 65535 "), {0xFF, 0xFF, 0x00, 0x00}}};
  for (const auto& c : cases) {
    EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyLocalMachine, Path("Tcp"), "MTU", 4, c.value, false),
              kRegSuccess);
    const Raw raw = RawValue(kHkeyLocalMachine, Path("Tcp"), "MTU");
    EXPECT_EQ(raw.type, kRegDword);
    EXPECT_EQ(raw.data, c.bytes) << c.value.ToText();
  }
  EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyLocalMachine, Path("Tcp"), "MTU", 4, "-1", true), kRegSuccess);
  EXPECT_EQ(RawValue(kHkeyLocalMachine, Path("Tcp"), "MTU").status, kRegFileNotFound);
  EXPECT_THROW(SetOrDeleteRegistryValue(kHkeyLocalMachine, Path("Tcp"), "MTU", 4, "fast", false),
               ConversionError);
  EXPECT_EQ(RawValue(kHkeyLocalMachine, Path("Tcp"), "MTU").status, kRegFileNotFound);
}

TEST_F(RegistryBehaviour, OtherTypesCreateTheKeyButSetNothing) {
  for (std::int32_t type : {0, 2, 3, 7, -1}) {
    const std::string key = Path("Type" + std::to_string(type));
    EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyCurrentUser, key, "v", type, "1", false), kRegSuccess);
    EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyCurrentUser, key, "v", type, "1", true), kRegSuccess);
    EXPECT_TRUE(KeyExists(kHkeyCurrentUser, key));
    EXPECT_EQ(RawValue(kHkeyCurrentUser, key, "v").status, kRegFileNotFound);
  }
}

// --- CRegister ---

TEST_F(RegistryBehaviour, SectionsLoseOneBackslashAtEachEnd) {
  CRegister reg;
  EXPECT_TRUE(reg.REGSaveSetting(kHkeyCurrentUser, "\\" + Path("Section") + "\\", "k", "v1"));
  EXPECT_EQ(Subkeys(kHkeyCurrentUser, Path("")), std::vector<std::string>{"Section"});
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, Path("Section"), "k", "d"), "v1");
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, "\\" + Path("Section"), "k", "d"), "v1");
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, Path("Section") + "\\", "k", "d"), "v1");
  // Only the first of two leading backslashes goes, and the path left is not a valid one.
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, "\\\\" + Path("Section"), "k", "d"), "d");
  EXPECT_FALSE(reg.REGSaveSetting(kHkeyCurrentUser, "\\\\" + Path("Other"), "k", "v"));
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, Path("Section"), "missing", "d"), "d");
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, Path("NoSuchSection"), "k", "d"), "d");
}

TEST_F(RegistryBehaviour, StarNamesTheUnnamedValue) {
  CRegister reg;
  PutRaw(kHkeyCurrentUser, Path(""), "*", kRegSz, TextBytes("named star"));
  EXPECT_TRUE(reg.REGSaveSetting(kHkeyCurrentUser, Path(""), "*", "unnamed"));
  EXPECT_EQ(RawValue(kHkeyCurrentUser, Path(""), "").data, TextBytes("unnamed"));
  EXPECT_EQ(reg.REGGetSetting(kHkeyCurrentUser, Path(""), "*", "d"), "unnamed");
  EXPECT_TRUE(reg.REGSaveSetting(kHkeyCurrentUser, Path(""), "*", "ab"));
  EXPECT_EQ(reg.myREGGetSetting(kHkeyCurrentUser, Path(""), "*", 0), 'a' + 'b' * 256.0);
  EXPECT_TRUE(reg.REGDeleteSetting(kHkeyCurrentUser, Path(""), "*"));
  EXPECT_EQ(RawValue(kHkeyCurrentUser, Path(""), "").status, kRegFileNotFound);
  EXPECT_EQ(RawValue(kHkeyCurrentUser, Path(""), "*").data, TextBytes("named star"));
  EXPECT_FALSE(reg.REGDeleteSetting(kHkeyCurrentUser, Path(""), "*"));
}

TEST_F(RegistryBehaviour, MyRegGetSettingSumsTheBytesAsAnUnsignedNumber) {
  CRegister reg;
  PutRaw(kHkeyLocalMachine, Path(""), "all ones", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF});
  PutRaw(kHkeyLocalMachine, Path(""), "ten thousand", kRegDword, {0x10, 0x27, 0x00, 0x00});
  PutRaw(kHkeyLocalMachine, Path(""), "text one", kRegSz, TextBytes("1"));
  EXPECT_EQ(reg.myREGGetSetting(kHkeyLocalMachine, Path(""), "all ones", 0), 4294967295.0);
  EXPECT_EQ(reg.myREGGetSetting(kHkeyLocalMachine, Path(""), "ten thousand", 0), 10000.0);
  EXPECT_EQ(reg.myREGGetSetting(kHkeyLocalMachine, Path(""), "text one", 0), 49.0);
  EXPECT_EQ(reg.myREGGetSetting(kHkeyLocalMachine, Path(""), "missing", -2.5), -2.5);
  EXPECT_EQ(reg.myREGGetSetting(kHkeyLocalMachine, Path("Missing"), "x", 3), 3.0);
}

TEST_F(RegistryBehaviour, DeletingAWholeKeyUsesThePathAsGiven) {
  CRegister reg;
  ASSERT_TRUE(reg.REGSaveSetting(kHkeyCurrentUser, Path("Parent\\Child"), "k", "v"));
  EXPECT_FALSE(reg.REGDeleteSetting(kHkeyCurrentUser, Path("Parent"), ""))
      << "a key with subkeys stays";
  EXPECT_FALSE(reg.REGDeleteSetting(kHkeyCurrentUser, "\\" + Path("Parent\\Child"), ""))
      << "the key path is not trimmed";
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, Path("Parent\\Child")));
  EXPECT_TRUE(reg.REGDeleteSetting(kHkeyCurrentUser, Path("Parent\\Child"), ""));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, Path("Parent\\Child")));
  EXPECT_TRUE(reg.REGDeleteSetting(kHkeyCurrentUser, Path("parent"), ""));
  EXPECT_FALSE(reg.REGDeleteSetting(kHkeyCurrentUser, Path("Parent"), ""));
  EXPECT_FALSE(reg.REGDeleteSetting(kHkeyCurrentUser, Path("Gone"), "k"));
}

TEST_F(RegistryBehaviour, GetAllKeysListsDirectSubkeysInRegistryOrder) {
  CRegister reg;
  for (const char* name : {"b", "_x", "A", "[", "a1", "Z", "0", "ab\\deeper"}) {
    WriteRegistryValue(kHkeyCurrentUser, Path(std::string("List\\") + name), "", "");
  }
  const std::vector<std::string> expected = {"0", "[", "_x", "A", "a1", "ab", "b", "Z"};
  EXPECT_EQ(reg.GetAllKeys(kHkeyCurrentUser, Path("List")), expected);
  EXPECT_EQ(Subkeys(kHkeyCurrentUser, Path("List")), expected);
  EXPECT_TRUE(reg.GetAllKeys(kHkeyCurrentUser, Path("List\\b")).empty());
  EXPECT_TRUE(reg.GetAllKeys(kHkeyCurrentUser, Path("Missing")).empty());
}

TEST_F(RegistryBehaviour, EnumerationReportsShortBuffersAndTheEnd) {
  WriteRegistryValue(kHkeyCurrentUser, Path("Enum\\abcd"), "", "");
  RegKey key = 0;
  ASSERT_EQ(Reg().OpenKeyEx(kHkeyCurrentUser, Path("Enum"), kKeyRead, &key), kRegSuccess);
  char name[8];
  std::uint32_t length = 4;
  EXPECT_EQ(Reg().EnumKeyEx(key, 0, name, &length), kRegMoreData);
  length = 5;
  EXPECT_EQ(Reg().EnumKeyEx(key, 0, name, &length), kRegSuccess);
  EXPECT_EQ(length, 4u);
  EXPECT_STREQ(name, "abcd");
  EXPECT_EQ(Reg().EnumKey(key, 0, name, 4), kRegMoreData);
  EXPECT_EQ(Reg().EnumKey(key, 1, name, sizeof(name)), kRegNoMoreItems);
  length = sizeof(name);
  EXPECT_EQ(Reg().EnumKeyEx(key, 1, name, &length), kRegNoMoreItems);
  Reg().CloseKey(key);
}

TEST_F(RegistryBehaviour, AKeyThatMayOnlyBeReadIsStillRead) {
  CRegister reg;
  PutRaw(kHkeyLocalMachine, Path("Locked"), "text", kRegSz, TextBytes("locked value"));
  PutRaw(kHkeyLocalMachine, Path("Locked"), "number", kRegDword, {0x10, 0x27, 0x00, 0x00});
  DenyWrite(kHkeyLocalMachine, Path("Locked"));
  RegKey key = 0;
  ASSERT_EQ(Reg().OpenKeyEx(kHkeyLocalMachine, Path("Locked"), kKeyAllAccess, &key), kRegAccessDenied);

  EXPECT_EQ(reg.REGGetSetting(kHkeyLocalMachine, Path("Locked"), "text", "d"), "locked value");
  EXPECT_EQ(reg.myREGGetSetting(kHkeyLocalMachine, Path("Locked"), "number", 0), 10000.0);
  EXPECT_EQ(ReadMachineValue(Path("Locked"), "text", "d"), RegValue("locked value"));
  EXPECT_FALSE(reg.REGSaveSetting(kHkeyLocalMachine, Path("Locked"), "text", "changed"));
  EXPECT_FALSE(reg.REGDeleteSetting(kHkeyLocalMachine, Path("Locked"), "text"));
  WriteMachineValue(Path("Locked"), "text", "changed");
  EXPECT_EQ(SetOrDeleteRegistryValue(kHkeyLocalMachine, Path("Locked"), "text", 1, "x", true),
            kRegAccessDenied);
  EXPECT_EQ(reg.REGGetSetting(kHkeyLocalMachine, Path("Locked"), "text", "d"), "locked value");

  // Whether a key may be changed is found out without changing anything, also for a key that
  // does not exist yet (it would be created under the nearest one that does).
  EXPECT_EQ(ProbeKeyWrite(kHkeyLocalMachine, Path("Locked")), kRegAccessDenied);
  EXPECT_EQ(ProbeKeyWrite(kHkeyLocalMachine, Path("Locked\\New\\Deeper")), kRegAccessDenied);
  EXPECT_EQ(ProbeKeyWrite(kHkeyLocalMachine, Path("Open\\New")), kRegSuccess);
  EXPECT_FALSE(KeyExists(kHkeyLocalMachine, Path("Locked\\New")));
  EXPECT_FALSE(KeyExists(kHkeyLocalMachine, Path("Open")));
}

// A restore puts values back by their type and bytes, whatever they are.
TEST_F(RegistryBehaviour, ValuesGoBackByTypeAndBytes) {
  const RegData values[] = {
      {kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, {kRegDword, {0x10, 0x27}}, {kRegBinary, {}},
      {11, {1, 2, 3, 4, 5, 6, 7, 8}},        {kRegExpandSz, {'%', 'x', '%', 0}}, {kRegSz, {0}},
  };
  char name[] = "v0";
  for (const RegData& value : values) {
    ++name[1];
    const std::string key = Path("Typed\\Deeper");
    EXPECT_EQ(WriteRegistryData(kHkeyLocalMachine, key, name, value), kRegSuccess);
    EXPECT_EQ(ReadRegistryData(kHkeyLocalMachine, key, name), value) << name;
  }
  EXPECT_EQ(ReadRegistryData(kHkeyLocalMachine, Path("Typed\\Deeper"), "missing"), std::nullopt);
  EXPECT_EQ(ReadRegistryData(kHkeyLocalMachine, Path("Absent"), "v0"), std::nullopt);
}

// --- Settings ---

TEST_F(RegistryBehaviour, AFreshSectionReadsEveryDefaultAndTheFirstSaveCreatesAllValues) {
  const std::string root = Path("Brannoc");
  for (const SettingDefinition& setting : kAllSettings) {
    EXPECT_EQ(ReadSetting(setting, root), setting.defaultValue) << setting.name;
  }
  EXPECT_FALSE(KeyExists(kHkeyLocalMachine, root));
  for (const SettingDefinition& setting : kAllSettings) {
    WriteSetting(setting, ReadSetting(setting, root), root);
  }
  for (const char* section : {kMainSettingsSection, kRamSettingsSection, kNetPingerSection}) {
    for (const SettingDefinition& setting : SectionSettings(section)) {
      const Raw raw = RawValue(kHkeyLocalMachine, SettingsKey(section, root), setting.name);
      EXPECT_EQ(raw.type, kRegSz) << setting.name;
      EXPECT_EQ(raw.data, TextBytes(setting.defaultValue)) << setting.name;
    }
  }
  EXPECT_EQ(Subkeys(kHkeyLocalMachine, root + "\\Settings"),
            (std::vector<std::string>{"MainSettings", "NetPinger", "RamSettings"}));
}

TEST_F(RegistryBehaviour, SettingsKeepEachControlsTextForm) {
  const std::string root = Path("Brannoc");
  WriteSetting(kChkSoundon, CheckBoxText(1), root);
  WriteSetting(kOptPer, OptionText(true), root);
  WriteSetting(kTxtPingHost, TextBoxText(" host name\\with backslash "), root);
  WriteSetting(kCmbPingInterval, ComboText(3), root);
  EXPECT_EQ(ReadSetting(kRamSettingsSection, "chkSoundon", root), "1");
  EXPECT_EQ(ReadCheckBox(kChkSoundon, root), 1);
  EXPECT_EQ(ReadSetting(kOptPer, root), "True");
  EXPECT_TRUE(ReadOption(kOptPer, root));
  EXPECT_FALSE(ReadOption(kOptManual, root));
  EXPECT_EQ(ReadSetting(kTxtPingHost, root), " host name\\with backslash ");
  EXPECT_EQ(ReadComboIndex(kCmbPingInterval, root), 3);
  // Text that is not a number falls back to the table's default.
  WriteSetting(kChkAutomatic, "ticked", root);
  EXPECT_EQ(ReadCheckBox(kChkAutomatic, root), 0);
}

}  // namespace quelvar::test
