// The Net Pinger Settings window's pings: the schedule's timer, starting a ping on a thread
// of its own, its outcome and the sound at a ping. The settings, the controls and the status
// label are in frm_net_pinger_settings.cpp.
#include "pinger/win32/frm_net_pinger_settings.h"

#include <mmsystem.h>

#include "base/message_box.h"
#include "base/program_folder.h"

namespace quelvar {

void frmNetPingerSettings::ApplyTimer() {
  if (m_model.timerEnabled() && !m_timerRunning) {
    m_timerRunning = ::SetTimer(hwnd(), kTmrPinger, kPingerTickMs, nullptr) != 0;
    m_lastTickAt = ::GetTickCount();
  } else if (!m_model.timerEnabled() && m_timerRunning) {
    ::KillTimer(hwnd(), kTmrPinger);
    m_timerRunning = false;
    m_status.ScheduleStopped();
  }
  ShowStatus();
}

void frmNetPingerSettings::cmdPingNow_Click() {
  // The host of the last load or save, never unsaved text in the box.
  if (m_pingUnderWay == PingKind::None) StartPing(PingKind::Now);
}

void frmNetPingerSettings::tmrPinger_Timer() {
  m_lastTickAt = ::GetTickCount();
  switch (m_model.schedule().Tick(m_pingUnderWay != PingKind::None)) {
    case PingSchedule::TickAction::Ping: StartPing(PingKind::Scheduled); break;
    case PingSchedule::TickAction::Count:
    case PingSchedule::TickAction::SkipForBusy: break;
  }
  ShowStatus();
}

void frmNetPingerSettings::StartPing(PingKind kind) {
  m_pingHost = std::string(mdlPing::TrimHost(m_model.PingHostName()));
  m_pingUnderWay = kind;
  m_ping = mdlPing::PingHostAsync(m_model.PingHostName(), mdlPing::kPingTimeoutMs, hwnd(),
                                  kMsgPingDone);
  if (!m_ping) {
    // No thread for it: the ping failed before it began.
    OnPingDone(false, 0);
    return;
  }
  ShowEnabledStates();
}

void frmNetPingerSettings::OnPingMessage(WPARAM serial) {
  if (!m_ping || m_ping->serial != serial) return;
  const std::shared_ptr<const mdlPing::BackgroundPing> ping = std::move(m_ping);
  const mdlPing::PingOutcome& outcome = ping->outcome;
  OnPingDone(outcome.roundTrip.has_value(), outcome.roundTrip.value_or(0));
  // Told once the ping is over, so the schedule goes on while the box is open.
  if (outcome.problem) TellSocketsProblem(*outcome.problem);
}

void frmNetPingerSettings::TellSocketsProblem(const mdlPing::SocketsProblem& problem) {
  if (m_tellingProblem) return;
  m_tellingProblem = true;
  ::MessageBoxA(host().MainHandle(), problem.text.c_str(), kAppTitle, problem.style);
  m_tellingProblem = false;
}

void frmNetPingerSettings::OnPingDone(bool answered, std::uint32_t roundTripMs) {
  const PingKind kind = m_pingUnderWay;
  m_pingUnderWay = PingKind::None;
  ShowEnabledStates();
  ::GetLocalTime(&m_lastPingAt);
  m_status.PingDone(kind == PingKind::Scheduled, PingRecord{m_pingHost, answered, roundTripMs});
  ShowStatus();
  // A scheduled ping sounds whatever its outcome; "Ping Now" only when the host answered.
  if (m_model.controls().chkSound == 1 && (kind == PingKind::Scheduled || answered)) PlayPingSound();
}

void frmNetPingerSettings::PlayPingSound() {
  // Until the file is there nothing plays (no default sound in its place).
  ::PlaySoundA(ProgramPath("\\Ping.wav").c_str(), nullptr,
               SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace quelvar
