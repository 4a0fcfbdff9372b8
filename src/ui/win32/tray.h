// The tray icon control: a 36 by 36 pixel child window that owns one icon in the
// notification area, its tool tip and balloon, and turns the icon's mouse notifications into
// TrayEvents for the hosting window. The rules live in ui/tray_logic.h; this file adds the
// window, the shell call, Timer1, the picture and the shell-restart watch.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <string_view>

#include "base/win32/unique_handle.h"
#include "base/win32/window.h"
#include "ui/tray_logic.h"

namespace quelvar {

class Tray : public Window, private TrayShell {
 public:
  // The record sizes the shell is told: the second version of the ANSI record where the shell
  // is 5.0 or later (it carries the balloon), the first version on older shells.
  static constexpr UINT kRecordSize = NOTIFYICONDATAA_V2_SIZE;
  static constexpr UINT kRecordSizeV1 = NOTIFYICONDATAA_V1_SIZE;
  // The face's fixed size in pixels.
  static constexpr int kFaceSize = 36;

  Tray();
  ~Tray() override;

  // Creates the control's window as a child of `parent` at (x, y); `events` must outlive it.
  bool Create(HWND parent, TrayEvents& events, int x = 0, int y = 0, int id = 0);

  void Show(bool UpDateData) { m_logic.Show(UpDateData); }
  void showBalloonoolTip(bool UpDateData) { m_logic.showBalloonoolTip(UpDateData); }

  // The tray picture, always an icon. Writing does not refresh a shown icon: call Show(true).
  HICON TrayImage() const { return m_icon; }
  // An icon becomes the picture unchanged (the caller keeps it alive); a cursor is converted.
  void SetTrayImage(HICON icon);
  // A bitmap becomes a 32 by 32 icon through the control's image list (owned by the control).
  void SetTrayImage(HBITMAP bitmap);
  // No picture.
  void SetTrayImage(std::nullptr_t);

  const std::string& TrayToolTip() const { return m_logic.TrayToolTip(); }
  void SetTrayToolTip(std::string_view text) { m_logic.SetTrayToolTip(text); }
  const std::string& TrayBalloonToolTip() const { return m_logic.TrayBalloonToolTip(); }
  void SetTrayBalloonToolTip(std::string_view text) { m_logic.SetTrayBalloonToolTip(text); }
  int EventMode() const { return m_logic.EventMode(); }
  void SetEventMode(int mode) { m_logic.SetEventMode(mode); }
  bool IsVisible() const { return m_logic.IsVisible(); }
  // True while a click is being delivered and for 15 ms after.
  bool IsBusy() const { return m_logic.IsBusy(); }
  // hwnd(): the control's own window, to which the icon's notifications go (from Window).

  // Saved properties; the stored picture becomes TrayImage without conversion.
  void ReadProperties(const TrayPropertyBag& bag, HICON picture = nullptr);
  void WriteProperties(TrayPropertyBag& bag) const { m_logic.WriteProperties(bag); }

  // The window property that holds the icon last sent to the shell.
  static constexpr const char* kTrayIconProperty = "QuelvarTrayIcon";
  // The record as last sent to the shell.
  const NOTIFYICONDATAA& Record() const { return m_record; }
  // The hidden top-level window that hears the shell's "TaskbarCreated" broadcast (child
  // windows do not receive it).
  HWND ShellWatcher() const { return m_watcher.hwnd(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  class Watcher : public Window {
   public:
    explicit Watcher(Tray& tray) : m_tray(tray) {}

   protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    Tray& m_tray;
  };

  bool NotifyIcon(TrayShellOp op, const TrayRecord& record) override;
  void SetTimer1(unsigned intervalMilliseconds) override;
  void OnPaint();
  void OnWindowPosChanging(WINDOWPOS& position);
  void Timer1_Timer() { m_logic.Timer1_Timer(); }
  // Takes a converted icon as the picture; the control owns it.
  void AdoptIcon(HICON icon);
  HIMAGELIST ImgList();

  TrayEvents m_noEvents;  // until Create names the host's events
  TrayLogic m_logic{*this, m_noEvents};
  NOTIFYICONDATAA m_record{};
  HICON m_icon = nullptr;
  UniqueIcon m_ownedIcon;  // an icon the control converted from another picture
  UniqueImageList m_ImgList;
  Watcher m_watcher{*this};
  UINT m_taskbarCreated = 0;
  UINT m_recordSize = kRecordSize;  // by the shell's version, at creation
};

}  // namespace quelvar
