// Decoding the message box's flags; see msg_box_flags.h.
#include "ui/msg_box_flags.h"

namespace quelvar {

MsgBoxFlags ButtonSetOf(MsgBoxFlags flags) {
  const MsgBoxFlags set = flags & kMsgBoxButtonMask;
  return set == 7 ? OKOnly : set;
}

int IconCellOf(MsgBoxFlags flags) {
  switch (flags & kMsgBoxIconMask) {
    case Critical: return 1;
    case Exclamation: return 2;
    case Information: return 3;
    case Question: return 4;
    case Users: return 5;
    case Keys: return 6;
    case Search: return 7;
    default: return 0;
  }
}

int DefaultButtonOf(MsgBoxFlags flags) {
  switch (flags & kMsgBoxDefaultMask) {
    case DefaultButton2: return 2;
    case DefaultButton3: return 3;
    case kMsgBoxDefaultMask: return 0;
    default: return 1;
  }
}

std::vector<MsgButton> ButtonsFor(MsgBoxFlags flags, const std::string& btn1,
                                  const std::string& btn2, const std::string& btn3) {
  struct Standard {
    const char* caption;
    std::int16_t code;
  };
  auto make = [](std::initializer_list<Standard> list) {
    std::vector<MsgButton> buttons;
    int slot = 1;
    for (const Standard& b : list) buttons.push_back({slot++, b.caption, b.code});
    return buttons;
  };
  switch (ButtonSetOf(flags)) {
    case OKCancel: return make({{"OK", kMsgResultOk}, {"Cancel", kMsgResultCancel}});
    case AbortRetryIgnore:
      return make({{"Abort", kMsgResultAbort}, {"Retry", kMsgResultRetry},
                   {"Ignore", kMsgResultIgnore}});
    case YesNoCancel:
      return make({{"Yes", kMsgResultYes}, {"No", kMsgResultNo}, {"Cancel", kMsgResultCancel}});
    case YesNo: return make({{"Yes", kMsgResultYes}, {"No", kMsgResultNo}});
    case RetryCancel: return make({{"Retry", kMsgResultRetry}, {"Cancel", kMsgResultCancel}});
    case CustomButtons: {
      std::vector<MsgButton> buttons;
      const std::string* captions[] = {&btn1, &btn2, &btn3};
      for (int slot = 1; slot <= 3; ++slot) {
        if (!captions[slot - 1]->empty()) {
          buttons.push_back({slot, *captions[slot - 1], static_cast<std::int16_t>(slot)});
        }
      }
      return buttons;
    }
    default: return make({{"OK", kMsgResultOk}});
  }
}

int DefaultButtonIndex(MsgBoxFlags flags, const std::vector<MsgButton>& buttons) {
  const int slot = DefaultButtonOf(flags);
  if (slot == 0 || buttons.empty()) return -1;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].slot == slot) return static_cast<int>(i);
  }
  return 0;
}

std::vector<int> ButtonLefts(int count, int panelWidth, int buttonWidth, int gap) {
  const int centred = (panelWidth - buttonWidth) / 2;
  switch (count) {
    case 1: return {centred};
    case 2: {
      const int first = panelWidth / 3 - buttonWidth / 2;
      return {first, panelWidth - first - buttonWidth};
    }
    case 3: return {centred - buttonWidth - gap, centred, centred + buttonWidth + gap};
    default: return {};
  }
}

std::int16_t MsgBoxResult(std::int16_t buttonCode, bool checked) {
  return static_cast<std::int16_t>(buttonCode + (checked ? kMsgResultCheckedBonus : 0));
}

std::string InputBoxResult(bool cancelled, const std::string& text, bool checked,
                           const std::string& notSign) {
  if (cancelled) return {};
  return checked ? text + notSign : text;
}

}  // namespace quelvar
