// The message box's flags (buttons, icon, default button) and what they decode to: the
// buttons with their captions and result codes, the icon's cell in the image strip, and
// where the buttons stand in their panel.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quelvar {

// Three fields added together: buttons (mask 7), icon (mask 112), default button (mask 768).
using MsgBoxFlags = std::uint32_t;

inline constexpr MsgBoxFlags OKOnly = 0;
inline constexpr MsgBoxFlags OKCancel = 1;
inline constexpr MsgBoxFlags AbortRetryIgnore = 2;
inline constexpr MsgBoxFlags YesNoCancel = 3;
inline constexpr MsgBoxFlags YesNo = 4;
inline constexpr MsgBoxFlags RetryCancel = 5;
inline constexpr MsgBoxFlags CustomButtons = 6;

inline constexpr MsgBoxFlags Critical = 16;
inline constexpr MsgBoxFlags Question = 32;
inline constexpr MsgBoxFlags Exclamation = 48;
inline constexpr MsgBoxFlags Information = 64;
inline constexpr MsgBoxFlags Users = 80;
inline constexpr MsgBoxFlags Keys = 96;
inline constexpr MsgBoxFlags Search = 112;

inline constexpr MsgBoxFlags DefaultButton1 = 0;
inline constexpr MsgBoxFlags DefaultButton2 = 256;
inline constexpr MsgBoxFlags DefaultButton3 = 512;

inline constexpr MsgBoxFlags kMsgBoxButtonMask = 7;
inline constexpr MsgBoxFlags kMsgBoxIconMask = 112;
inline constexpr MsgBoxFlags kMsgBoxDefaultMask = 768;

// Result codes of the standard captions.
inline constexpr std::int16_t kMsgResultOk = 1;
inline constexpr std::int16_t kMsgResultCancel = 2;
inline constexpr std::int16_t kMsgResultAbort = 3;
inline constexpr std::int16_t kMsgResultRetry = 4;
inline constexpr std::int16_t kMsgResultIgnore = 5;
inline constexpr std::int16_t kMsgResultYes = 6;
inline constexpr std::int16_t kMsgResultNo = 7;
// Added to the result when the box's check box was ticked.
inline constexpr std::int16_t kMsgResultCheckedBonus = 100;

// The buttons field; the unused value 7 counts as OKOnly.
MsgBoxFlags ButtonSetOf(MsgBoxFlags flags);

// The icon's cell in the image strip (1 to 7), 0 for no icon.
int IconCellOf(MsgBoxFlags flags);

// The default button's number, 1 to 3, or 0 when no button is to have the focus.
int DefaultButtonOf(MsgBoxFlags flags);

struct MsgButton {
  int slot = 0;  // 1 to 3: the button's place, left to right
  std::string caption;
  std::int16_t code = 0;
};

// The buttons shown for `flags`, left to right. Custom captions that are empty leave their
// button out; the others keep their slot's code (1, 2, 3).
std::vector<MsgButton> ButtonsFor(MsgBoxFlags flags, const std::string& btn1,
                                  const std::string& btn2, const std::string& btn3);

// The button that is focused first: the one in the default button's slot, else the first
// shown; -1 (an index into `buttons`) when the flags ask for no focused button.
int DefaultButtonIndex(MsgBoxFlags flags, const std::vector<MsgButton>& buttons);

// The left edges of `count` buttons of width `buttonWidth` in a panel `panelWidth` wide: one
// centred; two centred on the thirds; three with the middle one centred and the outer two
// `gap` away from it.
std::vector<int> ButtonLefts(int count, int panelWidth, int buttonWidth, int gap);

// The box's result: the button's code, plus 100 if the check box was ticked.
std::int16_t MsgBoxResult(std::int16_t buttonCode, bool checked);

// The text input_box returns: empty on Cancel; else the text, followed by `notSign` (the
// code page's character for U+00AC) when the check box was ticked.
std::string InputBoxResult(bool cancelled, const std::string& text, bool checked,
                           const std::string& notSign);

}  // namespace quelvar
