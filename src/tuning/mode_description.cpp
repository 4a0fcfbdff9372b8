// Wizard mode's description of the tuning profile; see mode_description.h.
#include "tuning/mode_description.h"

namespace quelvar {

namespace {
std::string Flag(bool value) { return value ? "True" : "False"; }
std::string Number(long long value) { return std::to_string(value); }
}  // namespace

std::string ModeDescription(const TuningProfile& p) {
  const std::string tab = "\t";
  const std::string crlf = "\r\n";
  std::string text;
  text += "MSS = " + Number(p.MSS) + tab + "MTU = " + Number(p.MTU) + tab + tab +
          "ICMP = " + Flag(p.ICMPRedirect) + crlf;
  text += crlf;
  text += "NDI = " + Number(p.NDICacheSize) + tab + "MSCPS0 = " + Number(p.HTTP10Connections) +
          tab + tab + "MSCPS1 = " + Number(p.HTTP11Connections) + crlf;
  text += crlf;
  text += "BlackHole = " + Flag(p.BlackHoleDetect) + tab + "RWIN = " + Number(p.RWIN) + tab +
          crlf;
  text += "Keep Alive = " + Number(p.KeepAliveTime) + crlf;
  text += crlf;
  text += "Keep Alive Interval= " + Number(p.KeepAliveInterval) + tab +
          "SYN = " + Number(p.SYNProtect) + tab + tab + "TTL= " + Number(p.TTL) + crlf;
  text += crlf;
  return text;
}

}  // namespace quelvar
