// Main window start-up, command dispatch and shutdown; see frm_main.h. Its tray icon is in
// frm_main_tray.cpp.
#include "main/win32/frm_main.h"

#include <algorithm>

#include "base/os_family.h"
#include "base/program_folder.h"
#include "main/win32/frm_main_settings.h"
#include "base/win32/failure_net.h"
#include "base/win32/paint.h"
#include "base/win32/windows_version.h"
#include "memory/win32/frm_ram_configuration.h"
#include "memory/win32/frm_system_status.h"
#include "pinger/win32/frm_net_pinger_settings.h"
#include "resource.h"
#include "tuning/tuning_profile.h"
#include "tuning/win32/frm_advanced_mode.h"
#include "tuning/win32/frm_back_up.h"
#include "tuning/win32/frm_wizard_mode.h"

namespace quelvar {

namespace {
// The window's outer size, the child frame and the face, in twips at 96 dpi (15 a pixel).
constexpr int kTwipsPerPixel96 = 15;
constexpr int kWidthTwips = 10710;
constexpr int kHeightTwips = 7485;
constexpr int kFrameLeftTwips = 3465;
constexpr int kFrameTopTwips = 1785;
constexpr int kFrameWidthTwips = 5400;
constexpr int kFrameHeightTwips = 3660;
constexpr int kSideColumnTwips = 1500;  // the least room right of the frame
constexpr int kFootTwips = 600;         // and below it
constexpr int kFaceLeftTwips = -15;
constexpr int kFaceTopTwips = -570;
// The face's navigation column and title bar, in 96-dpi pixels of the face.
constexpr int kFaceNavRight = 215;
constexpr int kFaceTitleBottom = 86;
constexpr COLORREF kNav = RGB(0x1D, 0x2B, 0x3A);
constexpr COLORREF kPage = RGB(0xF3, 0xF5, 0xF8);

std::size_t IndexOf(ChildForm form) { return static_cast<std::size_t>(form); }

constexpr UINT_PTR kRestartWatchTimer = 1;
// Posted once the main window is up: the child windows load at the first idle moment.
constexpr UINT kMsgLoadChildren = WM_APP + 2;
}  // namespace

frmMain::frmMain() {
  m_children[IndexOf(ChildForm::frmWizardMode)] = std::make_unique<frmWizardMode>(*this);
  m_children[IndexOf(ChildForm::frmAdvancedMode)] = std::make_unique<frmAdvancedMode>(*this);
  auto backUp = std::make_unique<frmBackUp>(*this);
  m_frmBackUp = backUp.get();
  m_children[IndexOf(ChildForm::frmBackUp)] = std::move(backUp);
  m_children[IndexOf(ChildForm::frmNetPingerSettings)] =
      std::make_unique<frmNetPingerSettings>(*this);
  auto systemStatus = std::make_unique<frmSystemStatus>(*this);
  auto ramConfiguration = std::make_unique<frmRamConfiguration>(*this);
  // The alarm consults the status window's processor meter; the status window's tray tip
  // follows the RAM configuration's choice of form (reading it loads that window).
  ramConfiguration->UseSystemStatus(*systemStatus);
  systemStatus->SetTipInPercentSource([ram = ramConfiguration.get()] {
    ram->Load();
    return ram->optPer();
  });
  systemStatus->SetTrayFigureSource([ram = ramConfiguration.get()] {
    ram->Load();
    return ram->ShowsTrayFigure();
  });
  m_children[IndexOf(ChildForm::frmSystemStatus)] = std::move(systemStatus);
  m_children[IndexOf(ChildForm::frmRamConfiguration)] = std::move(ramConfiguration);
  auto settings = std::make_unique<frmMainSettings>(*this);
  m_frmMainSettings = settings.get();
  m_children[IndexOf(ChildForm::frmMainSettings)] = std::move(settings);
}

// Every window goes while its object is whole, so each sees its own WM_DESTROY.
frmMain::~frmMain() {
  for (auto& child : m_children) child->Unload();
  m_tray1.Destroy();
  m_flash.Destroy();
  m_framChildWindow.Destroy();
  m_splash.Close();
  Destroy();
}

ChildWindow& frmMain::Child(ChildForm form) { return *m_children[IndexOf(form)]; }

// The window is laid out at the screen's dpi, or at the highest dpi at which it still fits the
// work area when that is smaller (144 dpi on a 1024 x 768 screen).
int frmMain::LayoutDpi() {
  const RECT work = WorkArea();
  const int width96 = kWidthTwips / kTwipsPerPixel96;
  const int height96 = kHeightTwips / kTwipsPerPixel96;
  const int fitX = static_cast<int>((work.right - work.left) * 96 / width96);
  const int fitY = static_cast<int>((work.bottom - work.top) * 96 / height96);
  return std::max(48, std::min({ScreenDpiY(), fitX, fitY}));
}

int frmMain::Px(int twips) const { return ::MulDiv(twips, m_dpi, 96 * kTwipsPerPixel96); }

bool frmMain::Start(int showCommand) {
  // 1. The splash, until step 12: up before the window's hidden parts are made, so it is the
  // first thing the user sees as soon as can be.
  m_splash.SetSplashFile(ProgramPath("\\RQLVSpl.spl"));
  m_splash.Start(0);
  m_dpi = LayoutDpi();
  const RECT work = WorkArea();
  const int width = std::min<int>(Px(kWidthTwips), work.right - work.left);
  const int height = std::min<int>(Px(kHeightTwips), work.bottom - work.top);
  const int x = work.left + std::max(0L, (work.right - work.left - width) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
  if (!Create("QuelvarMain", "Quelvar", WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
              WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, x, y, width, height, nullptr)) {
    return false;
  }

  // The window's components, as its form holds them. The child windows inside the frame are
  // laid out at the screen's dpi, so where the window had to shrink the frame keeps their
  // size, as far as the room beside and below it allows.
  const int frameLeft = Px(kFrameLeftTwips);
  const int frameTop = Px(kFrameTopTwips);
  const int frameWidth = std::max(
      Px(kFrameWidthTwips), std::min(::MulDiv(kFrameWidthTwips, ScreenDpiX(), 1440),
                                     width - frameLeft - Px(kSideColumnTwips)));
  const int frameHeight = std::max(
      Px(kFrameHeightTwips), std::min(::MulDiv(kFrameHeightTwips, ScreenDpiY(), 1440),
                                      height - frameTop - Px(kFootTwips)));
  if (!m_framChildWindow.Create(
          "QuelvarChildFrame", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
          WS_EX_CONTROLPARENT, frameLeft, frameTop, frameWidth, frameHeight, hwnd(),
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FRAM_CHILD_WINDOW)))) {
    return false;
  }
  m_flash.SetLayoutDpi(m_dpi);
  if (!m_flash.Create(hwnd(), *this, IDC_FACE_FIRST)) return false;
  ::SetWindowLongPtrA(m_flash.hwnd(), GWLP_ID, IDC_FACE);
  const int faceX = Px(kFaceLeftTwips);
  const int faceY = Px(kFaceTopTwips);
  ::SetWindowPos(m_flash.hwnd(), nullptr, faceX, faceY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT frame{};
  ::GetWindowRect(m_framChildWindow.hwnd(), &frame);
  ::MapWindowPoints(nullptr, m_flash.hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  m_flash.SetFrameRect(frame);

  if (!m_tray1.Create(hwnd(), *this, 0, 0, IDC_TRAY1)) return false;
  ::ShowWindow(m_tray1.hwnd(), SW_HIDE);
  m_trayImage.reset(static_cast<HICON>(
      ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUELVAR), IMAGE_ICON, 32, 32, 0)));
  m_tray1.SetTrayImage(ProgramTrayIcon());

  m_mnuPopup.reset(::CreatePopupMenu());
  const bool menuBuilt =
      m_mnuPopup &&
      ::AppendMenuA(m_mnuPopup.get(), MF_STRING, IDC_MNU_MAIN_WINDOW, "Main Window") &&
      ::AppendMenuA(m_mnuPopup.get(), MF_STRING, IDC_MNU_HELP, "&Help") &&
      ::AppendMenuA(m_mnuPopup.get(), MF_SEPARATOR, 0, nullptr) &&
      ::AppendMenuA(m_mnuPopup.get(), MF_STRING, IDC_MNU_EXIT, "&Exit");
  // Without its menu the icon's right button opens the window, like the left one.
  if (!menuBuilt) m_mnuPopup.reset();

  Form_Load();
  if (!m_inTray) {
    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
  }
  ::PostMessageA(hwnd(), kMsgLoadChildren, 0, 0);
  return true;
}

void frmMain::Form_Load() {
  // 1. The splash is up (Start showed it).
  // 2. The window's height and width.
  RECT window{};
  ::GetWindowRect(hwnd(), &window);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // 3. The face's size in pixels.
  ::SetWindowPos(m_flash.hwnd(), nullptr, 0, 0, m_flash.Scale(kFaceWidth),
                 m_flash.Scale(kFaceHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // 4. The frame to the front, then the face in front of it.
  ::SetWindowPos(m_framChildWindow.hwnd(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(m_flash.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // 5. The face's content into layer 0.
  m_flash.LoadMovie(0, ProgramPath("\\RQLV.swf"));
  // 6. The skin.
  m_skin.LoadSkin(ProgramPath("\\RQLVMask.skn"));
  Skin("Main", hwnd());
  Skin("NoFrame", m_framChildWindow.hwnd());
  // 7. The running Windows version.
  setOsFamily(QueryWindowsVersion());
  // 8. The eight tuning presets.
  LoadTuningPresets();
  // 9. The tray icon.
  m_tray1.Show(true);
  // 10. The seven child windows, hidden: their state and timers; each makes its controls
  // when it is first shown. The start-up settings load now, as step 11 reads them; the others
  // once the main window is shown and painted (kMsgLoadChildren), or when one is asked for.
  Child(ChildForm::frmMainSettings).Load();
  // 11. Start in the tray when asked to.
  if (m_frmMainSettings->chkRunProgramMini() == 1) hideToTray();
  // 12. The splash goes.
  m_splash.Close();
}

bool frmMain::PreTranslate(MSG& message) {
  return hwnd() && ::IsDialogMessageA(hwnd(), &message) != 0;
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: Form_Unload(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ACTIVATE:
      // Keep the keyboard where the user left it when the window is switched away and back.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd(), focus)) m_lastFocus = focus;
      }
      return DefaultProc(message, wParam, lParam);
    case WM_SETFOCUS:
      ::SetFocus(m_lastFocus && ::IsWindow(m_lastFocus) && ::IsWindowVisible(m_lastFocus)
                     ? m_lastFocus
                     : m_flash.ButtonWindow(0));
      return 0;
    case WM_ERASEBKGND: return 1;
    case kMsgLoadChildren:
      for (ChildForm form : kChildLoadOrder) Child(form).Load();
      return 0;
    case WM_NEXTDLGCTL: OnNextDlgCtl(wParam, lParam); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
    case WM_TIMER:
      if (wParam != kRestartWatchTimer) return DefaultProc(message, wParam, lParam);
      // The session did not end: the restart was called off before Quelvar was asked.
      StopRestartWatch();
      ResumeAfterRestart(*this);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_MNU_MAIN_WINDOW: mnuMainWindow_Click(); return 0;
        case IDC_MNU_HELP: mnuHelp_Click(); return 0;
        case IDC_MNU_EXIT: mnuExit_Click(); return 0;
        default: return 0;
      }
    default: {
      LRESULT skinned = 0;
      if (SkinHostMessage(hwnd(), message, wParam, lParam, &skinned)) return skinned;
      return DefaultProc(message, wParam, lParam);
    }
  }
}

// A label's mnemonic first puts the keyboard on the label, then asks for the next control, as
// a dialog box would; an edit box reached this way has its text selected.
void frmMain::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
  const HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                             : ::GetNextDlgTabItem(hwnd(), ::GetFocus(), wParam != 0);
  if (!target) return;
  ::SetFocus(target);
  if (::SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    ::SendMessageA(target, EM_SETSEL, 0, -1);
  }
}

// The strips of the window the face does not cover continue its title bar, navigation
// column and page.
void frmMain::OnPaint() {
  PaintDc paint(hwnd());
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  RECT face{};
  ::GetWindowRect(m_flash.hwnd(), &face);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&face), 2);
  const SkinControl::Applied* main = SkinControl::AppliedTo(hwnd());
  if (main) {
    ::FillRect(paint.get(), &client, main->brush);
  } else {
    FillSolid(paint.get(), client, kPage);
  }
  const RECT column{0, 0, face.left + m_flash.Scale(kFaceNavRight), client.bottom};
  const RECT title{0, 0, client.right, face.top + m_flash.Scale(kFaceTitleBottom)};
  FillSolid(paint.get(), column, kNav);
  FillSolid(paint.get(), title, kNav);
}

void frmMain::Form_Unload() { RunUnloadHandler(*this); }

// --- MainWindowHost ---

void frmMain::Skin(const char* objectName, HWND window) { m_skin.ApplySkin(window, objectName); }

namespace {
struct SkinWalk {
  SkinControl* skin;
};

BOOL CALLBACK SkinOneControl(HWND control, LPARAM context) {
  // A control that cannot be skinned is skipped; the walk goes on.
  Guarded([&] {
    auto& walk = *reinterpret_cast<SkinWalk*>(context);
    char className[64] = {};
    if (!::GetClassNameA(control, className, sizeof(className))) return;
    const auto style = static_cast<std::uint32_t>(::GetWindowLongPtrA(control, GWL_STYLE));
    const char* object = SkinObjectForControl(ClassifyControl(className, style), ControlTag(control));
    if (object) walk.skin->ApplySkin(control, object);
  });
  return TRUE;
}
}  // namespace

void frmMain::applyAllControls(HWND window) {
  SkinWalk walk{&m_skin};
  ::EnumChildWindows(window, &SkinOneControl, reinterpret_cast<LPARAM>(&walk));
}

void frmMain::ShowHomeView() {
  BringFaceToFront();
  SetHomeVariable();
}

void frmMain::SetHomeVariable() { m_flash.SetVariable("_root.home", "true"); }

// --- Movie commands ---

void frmMain::FSCommand(const std::string& command, const std::string& args) {
  HandleMovieCommand(command, args, *this);
}

void frmMain::MinimizeWindow() { ::ShowWindow(hwnd(), SW_MINIMIZE); }

void frmMain::BringFaceToFront() {
  ::SetWindowPos(m_flash.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_flash.PageClosed();
}

void frmMain::showChildForm(ChildForm form) {
  for (ChildForm each : kChildHideOrder) {
    ChildWindow& child = Child(each);
    child.Load();
    ::ShowWindow(child.hwnd(), SW_HIDE);
  }
  ChildWindow& shown = Child(form);
  ::SetParent(shown.hwnd(), m_framChildWindow.hwnd());
  ::ShowWindow(shown.hwnd(), SW_SHOW);
  ::SetWindowPos(m_framChildWindow.hwnd(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_flash.MarkPageShown();
}

void frmMain::intializeList() {
  // The list is filled before the window is shown: its controls are made first.
  Child(ChildForm::frmBackUp).Load();
  Child(ChildForm::frmBackUp).CreateControlsNow();
  m_frmBackUp->intializeList();
}

void frmMain::dragWindow() {
  ::ReleaseCapture();
  ::SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void frmMain::OpenHelp() { OpenHelpFile(reinterpret_cast<std::uintptr_t>(hwnd())); }

void frmMain::UnloadChild(ChildForm form) { Child(form).Unload(); }

void frmMain::LoadChild(ChildForm form) { Child(form).Load(); }

void frmMain::WatchRestart() {
  m_restart = Restart::Watched;
  ::SetTimer(hwnd(), kRestartWatchTimer, kRestartWatchMilliseconds, nullptr);
}

void frmMain::StopRestartWatch() {
  ::KillTimer(hwnd(), kRestartWatchTimer);
  m_restart = Restart::None;
}

// While a restart is watched, Windows asking whether the session may end shows that it is
// under way: the watch starts afresh, so a slow shutdown is not taken for a cancelled one.
LRESULT frmMain::OnQueryEndSession() {
  if (m_restart == Restart::Watched) {
    ::SetTimer(hwnd(), kRestartWatchTimer, kRestartWatchMilliseconds, nullptr);
  }
  return TRUE;
}

void frmMain::OnEndSession(bool ending) {
  if (m_restart != Restart::Watched) return;
  if (ending) {
    ::KillTimer(hwnd(), kRestartWatchTimer);
    m_restart = Restart::SessionEnding;
    return;
  }
  // Called off (another program refused, or the user cancelled): the program comes back.
  StopRestartWatch();
  ResumeAfterRestart(*this);
}

void frmMain::EndProcess() { ::ExitProcess(0); }

LRESULT frmMain::ChildFrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT skinned = 0;
  if (SkinHostMessage(hwnd(), message, wParam, lParam, &skinned)) return skinned;
  return DefaultProc(message, wParam, lParam);
}

}  // namespace quelvar
