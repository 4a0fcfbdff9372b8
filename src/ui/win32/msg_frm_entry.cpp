// The entry points of the balloon boxes: each fills a msgFrm, shows it and hands back what
// the user chose. The window itself is in msg_frm.cpp and msg_frm_balloon.cpp.
#include "ui/win32/msg_frm.h"

namespace quelvar {

std::string NotSignText() {
  const wchar_t notSign = 0x00AC;
  char buffer[8] = {};
  const int length = ::WideCharToMultiByte(CP_ACP, 0, &notSign, 1, buffer, sizeof(buffer),
                                           nullptr, nullptr);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string("\xAC");
}

std::int16_t msg_Box(const std::string& mPrompt, MsgBoxFlags mFlags, const std::string& mCaption,
                     bool NoPointer, const std::string& CheckboxTxt, const std::string& Btn1,
                     const std::string& Btn2, const std::string& Btn3, COLORREF mColor, float X,
                     float Y, std::int16_t Intensity) {
  msgFrm::Content content;
  content.panel = msgFrm::PanelKind::Message;
  content.prompt = mPrompt;
  content.caption = mCaption;
  content.flags = mFlags;
  content.checkboxText = CheckboxTxt;
  content.buttons = ButtonsFor(mFlags, Btn1, Btn2, Btn3);
  content.color = mColor;
  content.intensity = Intensity;

  const HWND owner = ::GetActiveWindow();
  msgFrm box;
  if (!box.Load(content, owner, NoPointer, X, Y)) return 0;
  box.ShowModal(owner);
  const std::int16_t result = MsgBoxResult(box.result(), box.checked());
  box.Destroy();
  return result;
}

std::string MsgAuto_box(const std::string& mPrompt, MsgBoxFlags mFlags,
                        const std::string& mCaption, std::int16_t nTime, bool NoPointer,
                        COLORREF mColor, float X, float Y, std::int16_t Intensity) {
  msgFrm::Content content;
  content.panel = msgFrm::PanelKind::Auto;
  content.prompt = mPrompt;
  content.caption = mCaption;
  content.flags = mFlags & kMsgBoxIconMask;
  content.color = mColor;
  content.intensity = Intensity;

  auto* box = new msgFrm;  // deletes itself when its window goes
  if (!box->Load(content, nullptr, NoPointer, X, Y)) {
    if (box->hwnd()) {
      ::DestroyWindow(box->hwnd());
    } else {
      delete box;
    }
    return {};
  }
  box->ShowAuto(ClampAutoCloseSeconds(nTime));
  return {};
}

std::string input_box(const std::string& mPrompt, MsgBoxFlags mFlags, const std::string& mCaption,
                      const std::string& DefaultText, bool NoPointer,
                      const std::string& CheckboxTxt, COLORREF mColor, float X, float Y,
                      std::int16_t Intensity) {
  msgFrm::Content content;
  content.panel = msgFrm::PanelKind::Input;
  content.prompt = mPrompt;
  content.caption = mCaption;
  content.flags = mFlags & kMsgBoxIconMask;
  content.checkboxText = CheckboxTxt;
  content.defaultText = DefaultText;
  content.color = mColor;
  content.intensity = Intensity;

  const HWND owner = ::GetActiveWindow();
  msgFrm box;
  if (!box.Load(content, owner, NoPointer, X, Y)) return {};
  box.ShowModal(owner);
  const std::string result =
      InputBoxResult(box.result() == -1, box.text(), box.checked(), NotSignText());
  box.Destroy();
  return result;
}

}  // namespace quelvar
