// Quelvar.exe as a user meets it: the main window "Quelvar" comes up, and closing it ends the
// program cleanly with no process left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

// Reads the PNG signature and the width and height of its header.
bool ReadPngSize(const std::string& path, unsigned& width, unsigned& height) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  unsigned char head[24] = {};
  const bool read = std::fread(head, 1, sizeof(head), file) == sizeof(head);
  std::fclose(file);
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!read || std::memcmp(head, kSignature, 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0) return false;
  auto be32 = [&](int at) {
    return (unsigned{head[at]} << 24) | (unsigned{head[at + 1]} << 16) | (unsigned{head[at + 2]} << 8) | head[at + 3];
  };
  width = be32(16);
  height = be32(20);
  return true;
}

TEST(StartupTest, MainWindowAppearsAndWmCloseEndsWithExitCodeZero) {
  const std::string exeName = FileNameOf(QuelvarExePath());
  ASSERT_TRUE(ProcessesNamed(exeName).empty()) << "a Quelvar.exe of an earlier test still runs";

  Process quelvar = Process::Start(QuelvarExePath());
  ASSERT_TRUE(quelvar.Started()) << "CreateProcess error " << quelvar.StartError();

  HWND mainWindow = WaitForWindow("Quelvar", Milliseconds{15000}, quelvar.Id());
  ASSERT_NE(mainWindow, nullptr) << "no window \"Quelvar\" appeared";
  EXPECT_TRUE(::IsWindowVisible(mainWindow));

  const std::string shot = ScreenshotPath("startup");
  ASSERT_TRUE(SaveScreenshot(shot)) << shot;
  unsigned width = 0, height = 0;
  ASSERT_TRUE(ReadPngSize(shot, width, height)) << shot;
  EXPECT_EQ(width, static_cast<unsigned>(::GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_EQ(height, static_cast<unsigned>(::GetSystemMetrics(SM_CYSCREEN)));

  ASSERT_TRUE(::PostMessageA(mainWindow, WM_CLOSE, 0, 0));
  ASSERT_TRUE(quelvar.WaitForExit(Milliseconds{5000})) << "Quelvar.exe still runs 5 s after WM_CLOSE";
  EXPECT_EQ(quelvar.ExitCode(), 0u);
  EXPECT_TRUE(WaitForNoProcess(exeName)) << "a Quelvar.exe process was left behind";
}

TEST(UiTestLibTest, UnixPathsBecomeDriveZPaths) {
  EXPECT_EQ(ToWinePath("/work/build/Quelvar.exe"), "Z:\\work\\build\\Quelvar.exe");
  EXPECT_EQ(ToWinePath("C:/Tools/Quelvar.exe"), "C:\\Tools\\Quelvar.exe");
  EXPECT_EQ(FileNameOf("Z:\\a\\b\\Quelvar.exe"), "Quelvar.exe");
}

}  // namespace
}  // namespace quelvar
