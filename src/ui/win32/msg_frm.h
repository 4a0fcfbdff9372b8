// The balloon-shaped message window `msgFrm` and its three entry points: msg_Box (modal, a
// choice of buttons and a check box), MsgAuto_box (a notice that closes itself) and
// input_box (modal, one line of text). Each call loads its own window and unloads it again;
// a self-closing notice owns itself until its timer or its close button ends it.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "base/win32/window.h"
#include "ui/msg_box_flags.h"
#include "ui/msg_box_geometry.h"

namespace quelvar {

std::int16_t msg_Box(const std::string& mPrompt, MsgBoxFlags mFlags, const std::string& mCaption,
                     bool NoPointer, const std::string& CheckboxTxt, const std::string& Btn1,
                     const std::string& Btn2, const std::string& Btn3, COLORREF mColor, float X,
                     float Y, std::int16_t Intensity);

std::string MsgAuto_box(const std::string& mPrompt, MsgBoxFlags mFlags,
                        const std::string& mCaption, std::int16_t nTime, bool NoPointer,
                        COLORREF mColor, float X, float Y, std::int16_t Intensity);

std::string input_box(const std::string& mPrompt, MsgBoxFlags mFlags, const std::string& mCaption,
                      const std::string& DefaultText, bool NoPointer,
                      const std::string& CheckboxTxt, COLORREF mColor, float X, float Y,
                      std::int16_t Intensity);

// The ANSI code page's character for the not sign (U+00AC) that input_box appends.
std::string NotSignText();

// The window class of all three boxes.
inline constexpr const char* kMsgFrmClass = "msgFrm";

class msgFrm : public Window {
 public:
  // 0 msg_Box, 1 input_box, 2 MsgAuto_box.
  enum class PanelKind { Message = 0, Input = 1, Auto = 2 };

  struct Content {
    PanelKind panel = PanelKind::Message;
    std::string prompt;
    std::string caption;
    MsgBoxFlags flags = 0;
    std::string checkboxText;
    std::vector<MsgButton> buttons;  // the message panel's buttons, left to right
    std::string defaultText;         // the input panel's starting text
    COLORREF color = 0;              // 0: the default balloon colour
    std::int16_t intensity = 0;
  };

  // Loads the window, hidden, with its panel filled and its shape and place set.
  bool Load(const Content& content, HWND owner, bool NoPointer, float X, float Y);
  // Shows the window and waits, with `owner` disabled, until a button closes it.
  void ShowModal(HWND owner);
  // Shows the notice topmost without activating it; it unloads itself after `seconds`.
  void ShowAuto(int seconds);

  std::int16_t result() const { return m_result; }
  bool checked() const;
  std::string text() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnFinalDestroy() override;

 private:
  class Panel;

  // Building the panel (msg_frm.cpp).
  void BuildPanel();
  int LayoutMessagePanel(int panelWidth);
  int LayoutInputPanel(int panelWidth);
  int LayoutAutoPanel(int panelWidth);
  int LayoutHeader(int panelWidth);
  void SetupButtons(int top, int panelWidth);
  void SetDisplayIcon();
  void SetDefaultButton();
  HWND AddControl(const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, int id, DWORD exStyle = 0);
  int WindowWidth() const;

  // Commands and keys.
  void OnCommand(int id, int code, HWND control);
  void cmdButton_Click(int index);
  void cmdClose_Click();
  bool PreTranslate(MSG& message);
  void OnEnter();
  void OnEscape();
  void MarkDefault(int index);
  LRESULT OnCtlColor(HDC dc);
  void OnDrawItem(const DRAWITEMSTRUCT& item);

  // The balloon (msg_frm_balloon.cpp).
  void DrawBalloon(bool NoPointer, float X, float Y, std::int16_t Inty);
  void GetPointerStyle(float X, float Y);
  UniqueRegion n_GetMainRect() const;
  UniqueRegion n_GetShadowRect() const;
  UniqueRegion n_SetPointer() const;
  void n_RefreshShadow();
  void CaptureShadow();
  void ApplyShape(bool withShadow, bool withPointer);
  void OnPaint();
  void BeginDrag();

  // The icon strip's cells, composed over the balloon colour.
  void LoadImageCells();
  void DrawCell(HDC dc, int cell, int x, int y) const;

  Content m_content;
  HBRUSH m_brush = nullptr;  // the balloon colour's shared brush
  std::int16_t m_result = 0;
  int m_defaultButton = 0;  // 0 none, else 1 to 3 (an index + 1 into m_buttonWindows)
  std::int16_t m_intensity = 0;
  PointerCorner m_corner = PointerCorner::UpperLeft;
  bool m_showPointer = true;
  int m_width = 0;
  int m_height = 0;
  bool m_done = false;
  bool m_draggable = true;

  Panel* m_panel = nullptr;  // owned by its window; deletes itself
  HWND m_title = nullptr;
  HWND m_prompt = nullptr;
  HWND m_icon = nullptr;
  HWND m_check = nullptr;
  HWND m_edit = nullptr;
  HWND m_close = nullptr;
  HWND m_initialFocus = nullptr;
  HWND m_lastFocus = nullptr;
  std::vector<HWND> m_buttonWindows;
  std::vector<std::int16_t> m_buttonCodes;

  UniqueBitmap m_backdrop;                   // the darkened screen behind the window
  std::array<UniqueBitmap, 13> m_cells{};    // by cell number, 1 to 12
};

}  // namespace quelvar
