// The advanced mode wizard without its window: eight pages walked in order, the recommended
// values by connection type, what entering each page puts into the tuning profile, the silent
// check of the value boxes, the receive window product with its fallbacks, and Finish, which
// fills the profile from the boxes and applies it. The window shows this state and feeds it
// the user's input.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "tuning/tuning_profile.h"

namespace quelvar {

inline constexpr int kWizardPageCount = 8;
// CurrentPage once Finish was pressed.
inline constexpr int kFinishedPage = 8;

// The boxes whose text is checked on every change; the last seven become profile fields at
// Finish, the SYN box sets SYNProtect at once.
enum class ValueBox { MTU, MSS, TTL, HTTP10, HTTP11, KeepAliveTime, KeepAliveInterval, SYN };
inline constexpr int kValueBoxCount = 8;

// The entries of cmbNDI, in list order.
inline constexpr std::array<const char*, 7> kNdiCacheSizes = {"0", "2", "4", "8", "16", "32", "64"};

// What page 1 and page 3 recommend for a connection type (0 dial-up, 1 cable, 2 DSL, 3 LAN).
struct ConnectionRecommendation {
  std::int32_t mtu;
  const char* mtuLabel;
  std::int32_t mss;
  const char* mssLabel;
  const char* multiplier;
};
const ConnectionRecommendation& RecommendationFor(int connectionType);

// What pressing "Next>>" did.
enum class NextResult {
  kMoved,       // another page is on show
  kApplied,     // Finish applied the profile: time for the home view
  kNotApplied,  // Finish was refused (the user has been told why); page 7 stays, Finish enabled
};

// What Finish applies: the profile with every box taken in (halves to even) or, when a box
// holds a value the profile cannot, why Finish refuses it (in the words the user is shown).
struct FinishProfile {
  TuningProfile profile;
  std::string refusal;  // empty when Finish can apply `profile`
};

class AdvancedModeWizard {
 public:
  // `apply` writes the profile to the registry (with its backup) and reports its own failures;
  // true when it ran.
  AdvancedModeWizard(TuningProfile& profile, std::function<bool()> apply);

  // The window's load: page 0 on show, the first NDI size selected.
  void Form_Load();

  void optConnType_Click(int index);
  void chkBlackHoleValue_Click(bool ticked);
  void chkMTUDisconver_Click(bool ticked);
  void chkICMPValue_Click(bool ticked);
  void cmbNDI_Click(int index);
  // The user (or the up-down control) changed a box's text.
  void SetBoxText(ValueBox box, const std::string& text);
  void SetMultiplierText(const std::string& text);
  NextResult cmdNextPage_Click();
  void cmdPrevPage_Click();

  // The profile Finish would apply now, from the boxes as they stand; Finish applies exactly
  // this, and the preview on the last page shows it.
  FinishProfile ProfileFromBoxes() const;

  int CurrentPage() const { return m_currentPage; }
  int ConnectionType() const { return m_connectionType; }
  // The page that is on show (page 7 stays on show after Finish).
  int VisiblePage() const { return m_currentPage > 7 ? 7 : m_currentPage; }

  const std::string& BoxText(ValueBox box) const { return m_boxes[static_cast<int>(box)]; }
  const std::string& txtMultiplier() const { return m_multiplier; }
  const std::string& txtRWIN() const { return m_rwin; }
  const std::string& txtMSSRWINValue() const { return m_mssRwin; }
  const std::string& txtScaleFactor() const { return m_scaleFactor; }
  const std::string& lblMTURecValue() const { return m_mtuRecValue; }
  const std::string& lblMSSRecVaklue() const { return m_mssRecValue; }
  const std::string& lblRWINRecValue() const { return m_rwinRecValue; }
  bool BlackHoleTicked() const { return m_blackHoleTicked; }
  bool MTUDisconverTicked() const { return m_mtuDisconverTicked; }
  bool ICMPTicked() const { return m_icmpTicked; }
  int NdiIndex() const { return m_ndiIndex; }
  const char* NextCaption() const { return m_nextCaption; }
  bool NextEnabled() const { return m_nextEnabled; }
  bool PrevEnabled() const { return m_prevEnabled; }

 private:
  void EnterPage(int page);
  // Replaces a text that is no number or out of bounds with the profile field. The MTU and
  // MSS boxes also keep -1, which removes those values as the presets that hold it do.
  void ValueCheck(ValueBox box);
  void CalculateRwin();
  NextResult Finish();

  TuningProfile& m_profile;
  std::function<bool()> m_apply;
  int m_currentPage = 0;
  int m_connectionType = 0;
  std::array<std::string, kValueBoxCount> m_boxes{"576", "536",     "64",   "20",
                                                  "20",  "7200000", "1000", "2"};
  std::string m_multiplier;
  std::string m_rwin;
  std::string m_mssRwin;
  std::string m_scaleFactor = "4";
  std::string m_mtuRecValue;
  std::string m_mssRecValue;
  std::string m_rwinRecValue;
  bool m_blackHoleTicked = false;
  bool m_mtuDisconverTicked = false;
  bool m_icmpTicked = false;
  int m_ndiIndex = -1;
  const char* m_nextCaption = "Next>>";
  bool m_nextEnabled = true;
  bool m_prevEnabled = false;
};

}  // namespace quelvar
