// The tray icon control's rules without a window: its properties and their defaults, when
// the icon is added, modified or removed, the record each call carries, and the mouse
// notifications turned into events with the busy flag. The Win32 control (ui/win32/tray.h)
// supplies the shell call and the timer through TrayShell and owns the window and icon.
#pragma once
#include <map>
#include <string>
#include <string_view>

#include "ui/tray_text.h"

namespace quelvar {

// Events of the tray control, raised to the window that hosts it.
struct TrayEvents {
  virtual ~TrayEvents() = default;
  virtual void LeftClick() {}
  virtual void RightClick() {}
  // Button 1 left, 2 right (EventMode 1 only).
  virtual void MouseClick(int Button) { (void)Button; }
};

constexpr unsigned kTrayIconId = 1;
// The callback message the icon reports with (the mouse message number rides in it).
constexpr unsigned kTrayCallbackMessage = 0x200;
constexpr unsigned kTrayFlagsShow = 0x07;     // message, icon, tip
constexpr unsigned kTrayFlagsBalloon = 0x17;  // message, icon, tip, info
constexpr unsigned kTrayInfoFlagInformation = 1;
constexpr unsigned kTrayBalloonTimeout = 1;
// How long after a handled click further notifications are dropped.
constexpr unsigned kTrayBusyMilliseconds = 15;
// Mouse message numbers carried by a notification.
constexpr unsigned kTrayLeftButtonDown = 0x201;
constexpr unsigned kTrayRightButtonDown = 0x204;

// The notify-icon operations.
enum class TrayShellOp { Add = 0, Modify = 1, Delete = 2 };

// The platform-free part of one notify-icon record (the window adds size, handle and icon).
struct TrayRecord {
  unsigned id = kTrayIconId;
  unsigned flags = 0;
  unsigned callbackMessage = kTrayCallbackMessage;
  std::string tip;  // kTrayTipChars characters
  bool balloon = false;  // the fields below are filled only for a balloon
  unsigned state = 0;
  unsigned stateMask = 0;
  std::string info;       // kTrayInfoChars characters
  unsigned timeout = 0;
  std::string infoTitle;  // kTrayInfoTitleChars characters
  unsigned infoFlags = 0;
};

// What the control needs from the platform.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  // The shell's notify-icon call; the result is true when the shell accepted it.
  virtual bool NotifyIcon(TrayShellOp op, const TrayRecord& record) = 0;
  // Timer1: start with an interval, or stop (interval 0).
  virtual void SetTimer1(unsigned intervalMilliseconds) = 0;
};

// The host's store of the control's saved properties, by name, as text.
using TrayPropertyBag = std::map<std::string, std::string, std::less<>>;
inline constexpr char kTrayBagToolTip[] = "TrayToolTip";
inline constexpr char kTrayBagEventMode[] = "EventMode";
inline constexpr char kTrayBagBalloonTip[] = "BalloonTip";

class TrayLogic {
 public:
  // A new control holds the defaults.
  TrayLogic(TrayShell& shell, TrayEvents& events) : m_shell(shell), m_events(&events) {}
  TrayLogic(const TrayLogic&) = delete;
  TrayLogic& operator=(const TrayLogic&) = delete;

  // Where the events go from now on; `events` must outlive the control.
  void SetEvents(TrayEvents& events) { m_events = &events; }

  // True adds the icon, or refreshes it when it is shown; false removes a shown icon.
  void Show(bool UpDateData);
  // True shows the information balloon on the icon; false does nothing.
  void showBalloonoolTip(bool UpDateData);

  const std::string& TrayToolTip() const { return m_toolTip; }
  void SetTrayToolTip(std::string_view text);
  const std::string& TrayBalloonToolTip() const { return m_balloonToolTip; }
  void SetTrayBalloonToolTip(std::string_view text);
  int EventMode() const { return m_eventMode; }
  // Stores the mode forced into 0..1.
  void SetEventMode(int mode);
  bool IsVisible() const { return m_isVisible; }
  bool IsBusy() const { return m_busy; }
  // Set when a property was written since the last save.
  bool PropertiesChanged() const { return m_propertiesChanged; }
  void MarkChanged() { m_propertiesChanged = true; }

  // A mouse notification from the icon, by mouse message number.
  void OnNotification(unsigned mouseMessage);
  // Timer1 fired: stop it and clear the busy flag.
  void Timer1_Timer();
  // The shell has (re)started with an empty notification area: the icon goes back in when
  // it should be shown.
  void OnTaskbarCreated();

  // Loads the saved properties, defaults for missing ones; EventMode is taken as stored.
  void ReadProperties(const TrayPropertyBag& bag);
  // Saves them; a property equal to its default is left out of the bag.
  void WriteProperties(TrayPropertyBag& bag) const;

  // The record Show(true) sends: flags 7 and the tip.
  TrayRecord ShowRecord() const;
  // The record showBalloonoolTip(true) sends: flags 0x17, tip, balloon text and title.
  TrayRecord BalloonRecord() const;

 private:
  TrayShell& m_shell;
  TrayEvents* m_events;
  std::string m_toolTip = kDefaultTrayToolTip;
  std::string m_balloonToolTip = kDefaultTrayBalloonToolTip;
  int m_eventMode = kDefaultTrayEventMode;
  bool m_isVisible = false;
  bool m_busy = false;
  bool m_propertiesChanged = false;
};

}  // namespace quelvar
