// Quelvar.exe's advanced mode driven through all eight pages to Finish at winxp and at win98:
// cable modem recommendations, a TTL typed in, an HTTP 1.0 limit below its bound replaced, the
// SYN level stepped down with the arrow key, an NDI size picked, "Disable it??" ticked and undone
// by going back; the last page's preview of what Finish changes; then one backup file and the
// values in the registry (read with reg.exe), DefaultTTL as the preview foretold.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resource.h"
#include "win32/ui_test_lib.h"

namespace quelvar {
namespace {

using namespace quelvar::uitest;

struct Line {
  const char* wineVersion;
  bool nineFive;
  const char* tcpKey;       // where DefaultTTL lives
  const char* internetKey;  // where the browser's limits live
  const char* adapterKey;   // one adapter the apply writes MTU and MSS for
  const char* mtuName;
};

std::string Expect(const Line& line, const char* name, DWORD number) {
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%lx", static_cast<unsigned long>(number));
  return std::string(name) +
         (line.nineFive ? " REG_SZ " + std::to_string(number) : std::string(" REG_DWORD ") + hex);
}

// True when `upper` lies above `lower` among their parent's children.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

class AdvancedModeWalk : public ::testing::TestWithParam<Line> {};

TEST_P(AdvancedModeWalk, AllEightPagesToFinishWriteOneBackupAndTheEditedValues) {
  const Line line = GetParam();
  ASSERT_TRUE(WaitForNoProcess("Quelvar.exe")) << "a Quelvar.exe of an earlier test still runs";
  ScopedWineVersion version(FileNameOf(QuelvarExePath()), line.wineVersion);
  ASSERT_TRUE(version.Ok());
  const std::string backups = ExeFolder() + "\\Backups";
  DeleteFilesIn(backups);
  HKEY adapter = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, line.adapterKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &adapter, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(adapter);
  // The adapter goes again however the test ends, so no later test meets it.
  struct RemoveAdapter {
    const char* key;
    ~RemoveAdapter() { ::SHDeleteKeyA(HKEY_LOCAL_MACHINE, key); }
  } removeAdapter{line.adapterKey};

  Process quelvar;
  HWND main = StartQuelvar(quelvar);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickFace(main, "Advanced Mode"));
  HWND next = FindChildById(main, IDC_ADV_NEXT);
  HWND back = FindChildById(main, IDC_ADV_PREV);
  ASSERT_TRUE(next && back);
  auto page = [&](int index) { return FindChildById(main, IDC_ADV_PAGE0 + index); };
  auto box = [&](int id) { return FindChildById(main, id); };
  auto shot = [&](int index) {
    // The page paints once the click's handler has returned.
    WaitUntil([] { return false; }, Milliseconds{400});
    SaveScreenshot(
        ScreenshotPath("advanced-mode-page" + std::to_string(index + 1) + "-" + line.wineVersion));
  };

  // Page 1: dial-up chosen from the start; the user picks cable.
  EXPECT_TRUE(::IsWindowVisible(page(0)));
  EXPECT_EQ(GetText(page(4)), "Step 5 of 8 : TTL && IE Optimization");
  EXPECT_FALSE(::IsWindowEnabled(back));
  EXPECT_EQ(SendWithTimeout(box(IDC_ADV_CONN_TYPE0), BM_GETCHECK), BST_CHECKED);
  shot(0);
  ASSERT_TRUE(ClickAndWait(box(IDC_ADV_CONN_TYPE0 + 1)));
  ASSERT_TRUE(ClickAndWait(next));

  // Page 2: cable's MTU and MSS.
  EXPECT_TRUE(::IsWindowVisible(page(1)));
  EXPECT_FALSE(::IsWindowVisible(page(0)));
  EXPECT_EQ(box(IDC_ADV_CONN_TYPE0), nullptr) << "a page not shown holds its controls";
  EXPECT_EQ(GetText(box(IDE_ADV_MTU)), "1500");
  EXPECT_EQ(GetText(box(IDE_ADV_MTU + 1)), "1460");
  EXPECT_EQ(GetText(box(IDC_ADV_MTU_REC_VALUE)), "1500 Byte");
  shot(1);
  ASSERT_TRUE(ClickAndWait(next));

  // Page 3: "Disable it??" ticked, then Back and forward again: discovery stays on.
  HWND disable = box(IDX_ADV_MTU_DISCOVER);
  ASSERT_TRUE(ClickAndWait(disable));
  EXPECT_EQ(SendWithTimeout(disable, BM_GETCHECK), BST_CHECKED);
  shot(2);
  ASSERT_TRUE(ClickAndWait(back));
  EXPECT_TRUE(::IsWindowVisible(page(1)));
  ASSERT_TRUE(ClickAndWait(next));
  // The page's controls are made anew each time it is shown.
  EXPECT_EQ(SendWithTimeout(box(IDX_ADV_MTU_DISCOVER), BM_GETCHECK), BST_CHECKED);
  ASSERT_TRUE(ClickAndWait(next));

  // Page 4: the receive window.
  EXPECT_EQ(GetText(box(IDE_ADV_MSS_RWIN)), "1460");
  EXPECT_EQ(GetText(box(IDE_ADV_MULTIPLIER)), "44");
  EXPECT_EQ(GetText(box(IDE_ADV_RWIN)), "256960");
  EXPECT_EQ(GetText(box(IDC_ADV_RWIN_REC_VALUE)), "256960Bytes");
  shot(3);
  ASSERT_TRUE(ClickAndWait(next));

  // Page 5: TTL 128 stays; 3 connections are below the bound and silently become 20 again.
  ASSERT_TRUE(SetText(box(IDE_ADV_MTU + 2), "128"));
  ASSERT_TRUE(SetText(box(IDE_ADV_MTU + 3), "3"));
  EXPECT_EQ(GetText(box(IDE_ADV_MTU + 2)), "128");
  EXPECT_EQ(GetText(box(IDE_ADV_MTU + 3)), "20");
  shot(4);
  ASSERT_TRUE(ClickAndWait(next));
  shot(5);
  ASSERT_TRUE(ClickAndWait(next));

  // Page 7: the SYN level one step down with the arrow key; NDI size 32.
  HWND syn = box(IDE_ADV_SYN);
  ::PostMessageA(syn, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageA(syn, WM_KEYUP, VK_DOWN, 0);
  EXPECT_TRUE(WaitUntil([&] { return GetText(syn) == "1"; })) << GetText(syn);
  HWND ndi = box(IDC_ADV_NDI);
  SendWithTimeout(ndi, CB_SETCURSEL, 5);
  SendWithTimeout(::GetParent(ndi), WM_COMMAND, MAKEWPARAM(IDC_ADV_NDI, CBN_SELCHANGE),
                  reinterpret_cast<LPARAM>(ndi));
  shot(6);
  ASSERT_TRUE(ClickAndWait(next));

  // Page 8: what Finish changes, from the boxes, before Finish.
  EXPECT_EQ(GetText(next), "Finish");
  HWND preview = box(IDC_ADV_PREVIEW);
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(::IsWindowVisible(preview));
  EXPECT_FALSE(::IsWindowVisible(box(IDC_ADV_PREVIEW_REFUSAL)));
  const std::vector<std::string> previewNames = ListViewColumn(preview, quelvar.Handle(), 1);
  const std::vector<std::string> previewAfter = ListViewColumn(preview, quelvar.Handle(), 3);
  ASSERT_GE(previewNames.size(), 10u);
  std::string ttlAfter;
  for (std::size_t i = 0; i < previewNames.size(); ++i) {
    if (previewNames[i] == "DefaultTTL") ttlAfter = previewAfter[i];
  }
  EXPECT_EQ(ttlAfter, "128");
  shot(7);

  // Finish: one backup, the button off, the face in front again.
  ASSERT_TRUE(ClickAndWait(next, Milliseconds{20000}));
  EXPECT_TRUE(FileExists(backups + "\\001.BCK"));
  EXPECT_FALSE(FileExists(backups + "\\002.BCK"));
  EXPECT_FALSE(::IsWindowEnabled(next));
  EXPECT_TRUE(IsAbove(FindChildById(main, IDC_FACE), FindChildById(main, IDC_FRAM_CHILD_WINDOW)));
  for (HWND window : TopWindowsOf(quelvar.Id())) {
    EXPECT_NE(ClassNameOf(window), "#32770") << "a message: " << GetText(window);
  }

  const std::string tcp = std::string("HKLM\\") + line.tcpKey;
  const std::string internet = std::string("HKCU\\") + line.internetKey;
  const std::string adapterKey = std::string("HKLM\\") + line.adapterKey;
  EXPECT_EQ(RegQueryValue(tcp, "DefaultTTL"),
            Expect(line, "DefaultTTL", static_cast<DWORD>(std::stoul("0" + ttlAfter))));
  EXPECT_EQ(RegQueryValue(tcp, "GlobalMaxTcpWindowSize"),
            Expect(line, "GlobalMaxTcpWindowSize", 256960));
  EXPECT_EQ(RegQueryValue(tcp, "KeepAliveTime"), Expect(line, "KeepAliveTime", 7200000));
  EXPECT_EQ(RegQueryValue(internet, "MaxConnectionsPer1_0Server"),
            Expect(line, "MaxConnectionsPer1_0Server", 20));
  EXPECT_EQ(RegQueryValue(adapterKey, line.mtuName), Expect(line, line.mtuName, 1500));
  if (line.nineFive) {
    EXPECT_EQ(RegQueryValue(tcp, "PMTUDiscovery"), Expect(line, "PMTUDiscovery", 1));
  } else {
    EXPECT_EQ(RegQueryValue(tcp, "EnablePMTUDiscovery"), Expect(line, "EnablePMTUDiscovery", 1));
    EXPECT_EQ(RegQueryValue(tcp, "SYNAttackProtect"), Expect(line, "SYNAttackProtect", 1));
    EXPECT_EQ(RegQueryValue(tcp, "EnableICMPRedirects"), Expect(line, "EnableICMPRedirects", 0));
  }
  EXPECT_EQ(RegQueryValue(
                "HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize",
                "(Default)"),
            Expect(line, "(Default)", 32));

  // Back after Finish: page 8 again with the button on and "Next>>".
  ASSERT_TRUE(ClickAndWait(back));
  EXPECT_TRUE(::IsWindowVisible(page(7)));
  EXPECT_TRUE(::IsWindowEnabled(next));
  EXPECT_EQ(GetText(next), "Next>>");

  ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
  EXPECT_TRUE(quelvar.WaitForExit());
  DeleteFilesIn(backups);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsLines, AdvancedModeWalk,
    ::testing::Values(
        Line{"winxp", false, "System\\CurrentControlSet\\Services\\Tcpip\\Parameters",
             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
             "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{QUELVAR-ADV}",
             "MTU"},
        Line{"win98", true, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
             "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
             "System\\CurrentControlSet\\Services\\Class\\NetTrans\\QuelvarAdv", "MaxMTU"}),
    [](const ::testing::TestParamInfo<Line>& info) { return std::string(info.param.wineVersion); });

}  // namespace
}  // namespace quelvar
