// The advanced mode wizard's rules; see advanced_mode.h.
#include "tuning/advanced_mode.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <utility>

#include "base/message_box.h"
#include "registry/reg_value.h"

namespace quelvar {

namespace {

constexpr double kInt32Max = std::numeric_limits<std::int32_t>::max();
// The largest receive window the TCP window scale can offer.
constexpr double kLargestRwin = 1073741823.0;

constexpr std::array<ConnectionRecommendation, 4> kRecommendations = {{
    {576, "576 Byte", 536, "536 Byte", "3"},
    {1500, "1500 Byte", 1460, "1460 Byte", "44"},
    {1492, "1492 Byte", 1452, "1452Byte", "44"},
    {1500, "1500 Byte", 1460, "1460 Byte", "44"},
}};

// Inclusive bounds of each box's value, in ValueBox order.
struct Bounds {
  double lower;
  double upper;
};
constexpr std::array<Bounds, kValueBoxCount> kBounds = {{
    {0, kInt32Max},
    {0, kInt32Max},
    {0, 256},
    {4, kInt32Max},
    {2, kInt32Max},
    {0, kInt32Max},
    {0, kInt32Max},
    {0, 2},
}};

// A decimal number (optional sign, digits, fraction, exponent; blanks around it allowed).
std::optional<double> NumberIn(const std::string& text) {
  try {
    return RegValue(text).ToDouble();
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

// The text as a signed 32-bit integer, halves to even; nothing when it is no number or does
// not fit.
std::optional<std::int32_t> Int32In(const std::string& text) {
  try {
    return RegValue(text).ToInt32();
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

// A size the registry takes as it is: a whole number from 0 up that fits the profile.
std::optional<std::int32_t> SizeIn(const std::string& text) {
  const std::optional<std::int32_t> value = Int32In(text);
  if (!value || *value < 0) return std::nullopt;
  return value;
}

// The MTU and the MSS also take -1, which removes the values, as the presets that leave them to
// Windows do.
constexpr std::int32_t kRemoveValue = -1;
bool TakesRemove(ValueBox box) { return box == ValueBox::MTU || box == ValueBox::MSS; }

std::int32_t ProfileField(const TuningProfile& p, ValueBox box) {
  switch (box) {
    case ValueBox::MTU: return p.MTU;
    case ValueBox::MSS: return p.MSS;
    case ValueBox::TTL: return p.TTL;
    case ValueBox::HTTP10: return p.HTTP10Connections;
    case ValueBox::HTTP11: return p.HTTP11Connections;
    case ValueBox::KeepAliveTime: return p.KeepAliveTime;
    case ValueBox::KeepAliveInterval: return p.KeepAliveInterval;
    case ValueBox::SYN: return p.SYNProtect;
  }
  return 0;
}

// Decimal text of a product: whole numbers without a fraction part.
std::string NumberText(double value) {
  if (value == 0) value = 0;  // no "-0"
  char text[64];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof(text), "%.0f", value);
  } else {
    std::snprintf(text, sizeof(text), "%.15g", value);
  }
  return text;
}

}  // namespace

const ConnectionRecommendation& RecommendationFor(int connectionType) {
  const int index = connectionType >= 0 && connectionType < 4 ? connectionType : 0;
  return kRecommendations[static_cast<std::size_t>(index)];
}

AdvancedModeWizard::AdvancedModeWizard(TuningProfile& profile, std::function<bool()> apply)
    : m_profile(profile), m_apply(std::move(apply)) {
  const ConnectionRecommendation& dialUp = RecommendationFor(0);
  m_mtuRecValue = dialUp.mtuLabel;
  m_mssRecValue = dialUp.mssLabel;
}

void AdvancedModeWizard::Form_Load() {
  m_currentPage = 0;
  cmbNDI_Click(0);
}

void AdvancedModeWizard::optConnType_Click(int index) {
  if (index >= 0 && index < 4) m_connectionType = index;
}

void AdvancedModeWizard::chkBlackHoleValue_Click(bool ticked) {
  m_blackHoleTicked = ticked;
  m_profile.BlackHoleDetect = ticked;
}

void AdvancedModeWizard::chkMTUDisconver_Click(bool ticked) {
  m_mtuDisconverTicked = ticked;
  m_profile.MTUDiscovery = !ticked;
}

void AdvancedModeWizard::chkICMPValue_Click(bool ticked) {
  m_icmpTicked = ticked;
  m_profile.ICMPRedirect = ticked;
}

void AdvancedModeWizard::cmbNDI_Click(int index) {
  if (index < 0 || index >= static_cast<int>(kNdiCacheSizes.size())) return;
  m_ndiIndex = index;
  m_profile.NDICacheSize = *Int32In(kNdiCacheSizes[static_cast<std::size_t>(index)]);
}

// Setting a box to the text it already holds is no change: that ends a replacement whose own
// value fails the check.
void AdvancedModeWizard::SetBoxText(ValueBox box, const std::string& text) {
  std::string& held = m_boxes[static_cast<int>(box)];
  if (held == text) return;
  held = text;
  ValueCheck(box);
}

void AdvancedModeWizard::ValueCheck(ValueBox box) {
  const std::string& text = m_boxes[static_cast<int>(box)];
  const Bounds bounds = kBounds[static_cast<int>(box)];
  const std::optional<double> value = NumberIn(text);
  const bool remove = value && TakesRemove(box) && *value == kRemoveValue;
  if (!value || ((*value < bounds.lower || *value > bounds.upper) && !remove)) {
    SetBoxText(box, std::to_string(ProfileField(m_profile, box)));
    return;
  }
  // The SYN level takes effect at once (0, 1 or 2 once rounded).
  if (box == ValueBox::SYN) m_profile.SYNProtect = static_cast<std::int16_t>(*Int32In(text));
}

void AdvancedModeWizard::SetMultiplierText(const std::string& text) {
  if (m_multiplier == text) return;
  m_multiplier = text;
  CalculateRwin();
}

// RWIN = MSS * Multiplier * Scale Factor. A multiplier that is no number, or one that makes
// the window larger than the largest one or smaller than one segment, falls back to the
// connection type's own.
void AdvancedModeWizard::CalculateRwin() {
  const char* fallback = RecommendationFor(m_connectionType).multiplier;
  const std::optional<double> multiplier = NumberIn(m_multiplier);
  if (!multiplier) {
    SetMultiplierText(fallback);
    return;
  }
  const double scale = NumberIn(m_scaleFactor).value_or(4);
  const double mss = m_profile.MSS;
  const double rwin = mss * *multiplier * scale;
  m_rwin = NumberText(rwin);
  if (rwin > kLargestRwin || mss > rwin) SetMultiplierText(fallback);
}

NextResult AdvancedModeWizard::cmdNextPage_Click() {
  m_currentPage = m_currentPage + 1 > 7 ? kFinishedPage : m_currentPage + 1;
  if (m_currentPage == kFinishedPage) return Finish();
  EnterPage(m_currentPage);
  m_prevEnabled = true;
  return NextResult::kMoved;
}

void AdvancedModeWizard::cmdPrevPage_Click() {
  m_currentPage = m_currentPage > 0 ? m_currentPage - 1 : 0;
  if (m_currentPage == 0) m_prevEnabled = false;
  if (m_currentPage == 7) m_nextEnabled = true;
  m_nextCaption = "Next>>";
}

void AdvancedModeWizard::EnterPage(int page) {
  TuningProfile& p = m_profile;
  switch (page) {
    case 1: {
      const ConnectionRecommendation& r = RecommendationFor(m_connectionType);
      p.MTU = r.mtu;
      p.MSS = r.mss;
      SetBoxText(ValueBox::MTU, std::to_string(r.mtu));
      SetBoxText(ValueBox::MSS, std::to_string(r.mss));
      m_mtuRecValue = r.mtuLabel;
      m_mssRecValue = r.mssLabel;
      break;
    }
    case 2:
      p.MTUDiscovery = true;
      p.BlackHoleDetect = false;
      break;
    case 3: {
      m_mssRwin = std::to_string(p.MSS);
      SetMultiplierText(RecommendationFor(m_connectionType).multiplier);
      CalculateRwin();
      // A product the profile cannot hold leaves its RWIN alone; Finish refuses it.
      const std::optional<std::int32_t> rwin = SizeIn(m_rwin);
      if (rwin) p.RWIN = *rwin;
      m_rwinRecValue = (rwin ? std::to_string(*rwin) : m_rwin) + "Bytes";
      break;
    }
    case 4:
      p.TTL = 64;
      p.HTTP10Connections = 20;
      p.HTTP11Connections = 20;
      break;
    case 5:
      p.KeepAliveTime = 7200000;
      p.KeepAliveInterval = 1000;
      break;
    case 6:
      p.SYNProtect = 2;
      p.NDICacheSize = 0;
      break;
    case 7:
      p.ICMPRedirect = false;
      m_nextCaption = "Finish";
      break;
    default: break;
  }
}

// Every box becomes its profile field (halves to even). A value the field cannot hold is
// never handed on: the refusal names the value and how to mend it.
FinishProfile AdvancedModeWizard::ProfileFromBoxes() const {
  FinishProfile built{m_profile, {}};
  TuningProfile& p = built.profile;
  const struct {
    const char* name;
    const std::string* text;
    std::int32_t* field;
    bool takesRemove;
  } taken[] = {
      {"MTU", &BoxText(ValueBox::MTU), &p.MTU, true},
      {"MSS", &BoxText(ValueBox::MSS), &p.MSS, true},
      {"receive window (RWIN)", &m_rwin, &p.RWIN, false},
      {"TTL", &BoxText(ValueBox::TTL), &p.TTL, false},
      {"HTTP 1.0 connections", &BoxText(ValueBox::HTTP10), &p.HTTP10Connections, false},
      {"HTTP 1.1 connections", &BoxText(ValueBox::HTTP11), &p.HTTP11Connections, false},
      {"Keep Alive Time", &BoxText(ValueBox::KeepAliveTime), &p.KeepAliveTime, false},
      {"Keep Alive Interval", &BoxText(ValueBox::KeepAliveInterval), &p.KeepAliveInterval, false},
  };
  for (const auto& box : taken) {
    std::optional<std::int32_t> value = SizeIn(*box.text);
    if (!value && box.takesRemove && Int32In(*box.text) == kRemoveValue) value = kRemoveValue;
    if (!value) {
      built.refusal = std::string("The ") + box.name + " of \"" + *box.text +
                      "\" cannot be applied: it must be " +
                      (box.takesRemove ? "-1 (to remove the value) or " : "") +
                      "a whole number from 0 to 2147483647.";
      if (box.text == &m_rwin) {
        built.refusal +=
            "\n\nGo back to \"Step 2 of 8 : MTU Settings\" and forward again, so that the "
            "receive window is calculated from the recommended MSS.";
      }
      built.profile = m_profile;
      return built;
    }
    *box.field = *value;
  }
  return built;
}

// Finish applies what ProfileFromBoxes builds, or tells the user why it cannot.
NextResult AdvancedModeWizard::Finish() {
  const FinishProfile built = ProfileFromBoxes();
  if (!built.refusal.empty()) {
    MessageBoxes().Show(built.refusal + "\n\nNothing was changed.", kAppTitle,
                        kMbOk | kMbIconExclamation);
    m_currentPage = 7;
    return NextResult::kNotApplied;
  }
  m_profile = built.profile;
  if (!m_apply()) {
    // The apply told the user why; Finish can be pressed again.
    m_currentPage = 7;
    return NextResult::kNotApplied;
  }
  m_nextEnabled = false;
  return NextResult::kApplied;
}

}  // namespace quelvar
