// The tray control's rules; see tray_logic.h.
#include "ui/tray_logic.h"

#include <charconv>

namespace quelvar {

void TrayLogic::Show(bool UpDateData) {
  if (UpDateData) {
    const TrayRecord record = ShowRecord();
    if (m_isVisible) {
      m_shell.NotifyIcon(TrayShellOp::Modify, record);
    } else {
      // The icon counts as shown even when the shell refused it: a shell that starts later
      // announces itself and gets the icon then (OnTaskbarCreated).
      m_shell.NotifyIcon(TrayShellOp::Add, record);
      m_isVisible = true;
    }
  } else if (m_isVisible) {
    m_shell.NotifyIcon(TrayShellOp::Delete, ShowRecord());
    m_isVisible = false;
  }
}

void TrayLogic::showBalloonoolTip(bool UpDateData) {
  if (!UpDateData) return;
  m_shell.NotifyIcon(TrayShellOp::Modify, BalloonRecord());
}

void TrayLogic::SetTrayToolTip(std::string_view text) {
  m_toolTip = text;
  MarkChanged();
}

void TrayLogic::SetTrayBalloonToolTip(std::string_view text) {
  m_balloonToolTip = text;
  MarkChanged();
}

void TrayLogic::SetEventMode(int mode) {
  m_eventMode = ClampTrayEventMode(mode);
  MarkChanged();
}

void TrayLogic::OnNotification(unsigned mouseMessage) {
  if (m_busy) return;
  if (mouseMessage != kTrayLeftButtonDown && mouseMessage != kTrayRightButtonDown) return;
  m_busy = true;
  const bool left = mouseMessage == kTrayLeftButtonDown;
  try {
    if (m_eventMode == kTrayEventModeSeparate) {
      if (left) {
        m_events->LeftClick();
      } else {
        m_events->RightClick();
      }
    } else {
      m_events->MouseClick(left ? 1 : 2);
    }
  } catch (...) {
    // A failing handler must not leave the icon deaf to every later click.
    m_shell.SetTimer1(kTrayBusyMilliseconds);
    throw;
  }
  m_shell.SetTimer1(kTrayBusyMilliseconds);
}

void TrayLogic::Timer1_Timer() {
  m_shell.SetTimer1(0);
  m_busy = false;
}

void TrayLogic::OnTaskbarCreated() {
  if (m_isVisible) m_shell.NotifyIcon(TrayShellOp::Add, ShowRecord());
}

void TrayLogic::ReadProperties(const TrayPropertyBag& bag) {
  auto text = [&bag](std::string_view name, std::string_view fallback) {
    const auto found = bag.find(name);
    return found == bag.end() ? std::string(fallback) : found->second;
  };
  m_toolTip = text(kTrayBagToolTip, kDefaultTrayToolTip);
  m_balloonToolTip = text(kTrayBagBalloonTip, kDefaultTrayBalloonToolTip);
  m_eventMode = kDefaultTrayEventMode;
  if (const auto found = bag.find(kTrayBagEventMode); found != bag.end()) {
    const std::string& stored = found->second;
    int mode = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), mode);
    if (error == std::errc() && end == stored.data() + stored.size()) m_eventMode = mode;
  }
  m_propertiesChanged = false;
}

void TrayLogic::WriteProperties(TrayPropertyBag& bag) const {
  auto put = [&bag](const char* name, const std::string& value, std::string_view fallback) {
    if (value == fallback) {
      bag.erase(std::string(name));
    } else {
      bag[name] = value;
    }
  };
  put(kTrayBagToolTip, m_toolTip, kDefaultTrayToolTip);
  put(kTrayBagEventMode, std::to_string(m_eventMode), std::to_string(kDefaultTrayEventMode));
  put(kTrayBagBalloonTip, m_balloonToolTip, kDefaultTrayBalloonToolTip);
}

TrayRecord TrayLogic::ShowRecord() const {
  TrayRecord record;
  record.flags = kTrayFlagsShow;
  record.tip = TrayTipField(m_toolTip);
  return record;
}

TrayRecord TrayLogic::BalloonRecord() const {
  TrayRecord record;
  record.flags = kTrayFlagsBalloon;
  record.balloon = true;
  record.state = 0;
  record.stateMask = 0;
  record.info = TraySpaceFilledField(m_balloonToolTip, kTrayInfoChars);
  record.infoTitle = TraySpaceFilledField(m_toolTip, kTrayInfoTitleChars);
  record.infoFlags = kTrayInfoFlagInformation;
  record.timeout = kTrayBalloonTimeout;
  record.tip = TrayTipField(m_toolTip);
  return record;
}

}  // namespace quelvar
