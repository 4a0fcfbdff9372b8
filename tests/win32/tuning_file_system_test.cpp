// The Win32 file system service on Wine's real file system: whole-file replacement with no
// temporary file left, reading a file's start only, listing by pattern without regard to case,
// a new file that never replaces what is there (hidden or not), and failures with a reason.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/win32/win32_clock.h"
#include "base/win32/win32_file_system.h"

namespace quelvar {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "quelvar-files-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(files.CreateFolder(m_folder));
  }
  void TearDown() override {
    std::vector<std::string> names;
    files.ListEveryFile(m_folder, "*", &names);
    for (const std::string& name : names) {
      ::SetFileAttributesA(Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(Path(name).c_str());
    }
    ::RemoveDirectoryA(Path("003.BCK").c_str());
    ::RemoveDirectoryA(m_folder.c_str());
  }
  std::string Path(const std::string& name) const { return m_folder + "\\" + name; }

  Win32FileSystem files;
  std::string m_folder;
};

TEST_F(Win32FileSystemTest, WholeFileIsReplacedAndNoTemporaryFileStays) {
  const std::string bytes("#2003-05-07#\r\n\0\xff\r\n", 18);
  ASSERT_TRUE(files.WriteWholeFile(Path("001.BCK"), "old content that is longer"));
  ASSERT_TRUE(files.WriteWholeFile(Path("001.BCK"), bytes));
  std::string read;
  ASSERT_TRUE(files.ReadWholeFile(Path("001.BCK"), &read));
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(files.ListFiles(m_folder, "*"), std::vector<std::string>{"001.BCK"});
}

TEST_F(Win32FileSystemTest, ListsNormalFilesMatchingThePatternInAnyCase) {
  for (const char* name : {"001.bck", "002.BCK", "notes.txt"}) {
    ASSERT_TRUE(files.WriteWholeFile(Path(name), "x"));
  }
  ASSERT_TRUE(files.CreateFolder(Path("003.BCK")));
  std::vector<std::string> names = files.ListFiles(m_folder, "*.BCK");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"001.bck", "002.BCK"}));
  EXPECT_TRUE(files.FolderExists(Path("003.BCK")));
  EXPECT_FALSE(files.FolderExists(Path("001.bck")));
  EXPECT_TRUE(files.ListFiles(Path("missing"), "*.BCK").empty());
}

TEST_F(Win32FileSystemTest, ANewFileNeverReplacesAHiddenFileOrAFolder) {
  ASSERT_TRUE(files.WriteWholeFile(Path("001.BCK"), "the user's own"));
  ASSERT_TRUE(::SetFileAttributesA(Path("001.BCK").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(files.CreateFolder(Path("003.BCK")));
  EXPECT_TRUE(files.ListFiles(m_folder, "*.BCK").empty());  // normal files only
  std::vector<std::string> names;
  ASSERT_TRUE(files.ListEveryFile(m_folder, "*.BCK", &names));
  EXPECT_EQ(names, std::vector<std::string>{"001.BCK"});

  for (const char* taken : {"001.BCK", "003.BCK"}) {
    const FileStatus created = files.CreateNewFile(Path(taken), "a backup");
    EXPECT_FALSE(created) << taken;
    EXPECT_TRUE(created.nameTaken) << taken << ": " << created.reason;
  }
  std::string read;
  ASSERT_TRUE(files.ReadWholeFile(Path("001.BCK"), &read));
  EXPECT_EQ(read, "the user's own");
  ASSERT_TRUE(files.CreateNewFile(Path("002.BCK"), "a backup"));
  ASSERT_TRUE(files.ReadWholeFile(Path("002.BCK"), &read));
  EXPECT_EQ(read, "a backup");
  ASSERT_TRUE(files.ListEveryFile(m_folder, "*", &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"001.BCK", "002.BCK"}));  // no temporary file

  ASSERT_TRUE(files.ListEveryFile(m_folder, "*.none", &names));
  EXPECT_TRUE(names.empty());
  const FileStatus missing = files.ListEveryFile(Path("missing"), "*.BCK", &names);
  EXPECT_FALSE(missing);
  EXPECT_FALSE(missing.reason.empty());
}

TEST_F(Win32FileSystemTest, ReadsNoFurtherThanTheStartItIsAskedFor) {
  const std::string bytes = "#2003-05-07#\r\n#09:05:03#\r\n" + std::string(5000, '\xff');
  ASSERT_TRUE(files.WriteWholeFile(Path("001.BCK"), bytes));
  for (std::size_t wanted : {std::size_t{0}, std::size_t{14}, std::size_t{256}, std::size_t{9000}}) {
    std::string start = "stale";
    ASSERT_TRUE(files.ReadFileStart(Path("001.BCK"), wanted, &start)) << wanted;
    EXPECT_EQ(start, bytes.substr(0, wanted)) << wanted;
  }
  std::string contents = "unchanged";
  const FileStatus missing = files.ReadFileStart(Path("absent.BCK"), 256, &contents);
  EXPECT_FALSE(missing);
  EXPECT_FALSE(missing.reason.empty());
  EXPECT_EQ(contents, "unchanged");
}

TEST_F(Win32FileSystemTest, FailuresComeWithTheSystemsReason) {
  const FileStatus write = files.WriteWholeFile(Path("missing\\001.BCK"), "x");
  EXPECT_FALSE(write);
  EXPECT_FALSE(write.reason.empty());
  const FileStatus remove = files.RemoveFile(Path("absent.BCK"));
  EXPECT_FALSE(remove);
  EXPECT_FALSE(remove.reason.empty());
  std::string contents = "unchanged";
  EXPECT_FALSE(files.ReadWholeFile(Path("absent.BCK"), &contents));
  EXPECT_EQ(contents, "unchanged");
  EXPECT_FALSE(files.CreateFolder(Path("a\\b")));
  ASSERT_TRUE(files.WriteWholeFile(Path("gone.BCK"), "x"));
  EXPECT_TRUE(files.RemoveFile(Path("gone.BCK")));
  EXPECT_TRUE(files.ListFiles(m_folder, "*").empty());
}

TEST(Win32ClockTest, GivesAPlausibleLocalDateAndTime) {
  const LocalDateTime now = Win32Clock().Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute <= 59 && now.second <= 59);
}

}  // namespace
}  // namespace quelvar
