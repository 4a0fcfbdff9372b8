// What the in-memory registry does beyond the shared behaviour suite: its handles, and the
// helpers other tests set it up and inspect it with.
#include <gtest/gtest.h>

#include "registry/memory_registry.h"

namespace quelvar {
namespace {

TEST(MemoryRegistry, HelpersSeeWhatTheBackendCallsWrote) {
  MemoryRegistry registry;
  RegKey key = 0;
  ASSERT_EQ(registry.CreateKeyEx(kHkeyLocalMachine, "A\\B", kKeyAllAccess, false, &key), kRegSuccess);
  const std::uint8_t text[] = {'h', 'i', 0};
  registry.SetValueEx(key, "Second", kRegSz, text, sizeof(text));
  registry.SetValueEx(key, "First", kRegSz, text, sizeof(text));
  registry.SetValueEx(key, "second", kRegSz, text, 2);
  registry.CloseKey(key);
  EXPECT_EQ(registry.ValueNames(kHkeyLocalMachine, "a\\b"), (std::vector<std::string>{"Second", "First"}));
  EXPECT_EQ(registry.GetText(kHkeyLocalMachine, "A\\B", "First"), "hi");
  EXPECT_EQ(registry.GetText(kHkeyLocalMachine, "A\\B", "Missing"), std::nullopt);
  EXPECT_EQ(registry.Get(kHkeyLocalMachine, "A\\B", "SECOND")->data, (std::vector<std::uint8_t>{'h', 'i'}));

  registry.PutDword(kHkeyCurrentUser, "X\\Y", "n", 0xFFFFFFFFu);
  registry.PutText(kHkeyCurrentUser, "X", "", "default");
  EXPECT_EQ(registry.GetDword(kHkeyCurrentUser, "x\\y", "N"), 0xFFFFFFFFu);
  EXPECT_EQ(registry.GetText(kHkeyCurrentUser, "X", ""), "default");
  EXPECT_EQ(registry.SubkeyNames(kHkeyCurrentUser, "X"), std::vector<std::string>{"Y"});
  EXPECT_TRUE(registry.KeyExists(kHkeyCurrentUser, "X\\Y"));
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "X"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, TextStoredWithoutItsZeroReadsBackWithOne) {
  MemoryRegistry registry;
  registry.Put(kHkeyCurrentUser, "K", "raw", {kRegSz, {'a', 'b', 'c'}});
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKeyEx(kHkeyCurrentUser, "K", kKeyRead, &key), kRegSuccess);
  std::uint8_t data[8];
  std::uint32_t size = 3;
  EXPECT_EQ(registry.QueryValueEx(key, "raw", nullptr, data, &size), kRegMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(registry.QueryValueEx(key, "raw", nullptr, data, &size), kRegSuccess);
  EXPECT_EQ(data[3], 0);
  registry.CloseKey(key);
}

TEST(MemoryRegistry, HandlesFollowTheRulesOfWindows) {
  MemoryRegistry registry;
  registry.CreatePath(kHkeyCurrentUser, "Gone\\Soon");
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKeyEx(kHkeyCurrentUser, "Gone\\Soon", kKeyRead, &key), kRegSuccess);
  const std::uint8_t byte = 1;
  EXPECT_EQ(registry.SetValueEx(key, "v", kRegBinary, &byte, 1), kRegAccessDenied)
      << "a handle opened for reading cannot write";
  ASSERT_EQ(registry.DeleteKey(kHkeyCurrentUser, "GONE\\soon"), kRegSuccess);
  EXPECT_EQ(registry.QueryValueEx(key, "v", nullptr, nullptr, nullptr), kRegKeyDeleted);
  EXPECT_EQ(registry.CloseKey(key), kRegSuccess);
  EXPECT_EQ(registry.CloseKey(key), kRegInvalidHandle);

  RegKey same = 0;
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, "", &same), kRegSuccess);
  EXPECT_EQ(same, kHkeyCurrentUser);
  EXPECT_EQ(registry.CloseKey(kHkeyCurrentUser), kRegSuccess);
  EXPECT_EQ(registry.OpenKeyEx(kHkeyCurrentUser, "\\Gone", kKeyRead, &key), kRegBadPathname);
  EXPECT_EQ(registry.OpenKeyEx(kHkeyCurrentUser, "Gone\\\\", kKeyRead, &key), kRegSuccess);
  registry.CloseKey(key);
  EXPECT_EQ(registry.DeleteKey(kHkeyCurrentUser, ""), kRegAccessDenied);
  EXPECT_EQ(registry.OpenKeyEx(0x1234, "x", kKeyRead, &key), kRegInvalidHandle);
}

TEST(MemoryRegistry, AWriteDeniedKeyRefusesNewSubkeysButCanBeDeleted) {
  MemoryRegistry registry;
  registry.DenyWrite(kHkeyLocalMachine, "Locked");
  RegKey key = 0;
  EXPECT_EQ(registry.CreateKeyEx(kHkeyLocalMachine, "Locked\\Child", kKeyAllAccess, false, &key),
            kRegAccessDenied);
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "Locked\\Child"));
  ASSERT_EQ(registry.OpenKey(kHkeyLocalMachine, "Locked", &key), kRegSuccess);
  EXPECT_EQ(registry.EnumKey(key, 0, nullptr, 0), kRegNoMoreItems) << "opened with what it may do";
  registry.CloseKey(key);
  EXPECT_EQ(registry.DeleteKey(kHkeyLocalMachine, "Locked"), kRegSuccess);
}

}  // namespace
}  // namespace quelvar
