// Skinning component; see skin.h.
#include "base/win32/skin.h"

#include "base/file_system.h"
#include "base/win32/controls.h"
#include "base/win32/subclass.h"
#include "base/win32/window.h"

namespace quelvar {

namespace {

constexpr const char* kSkinProperty = "QuelvarSkin";
constexpr const char* kTagProperty = "QuelvarTag";
constexpr const char* kFrameHookProperty = "QuelvarSkinFrame";

COLORREF ToColorRef(SkinColor color) {
  return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

// The object's font: none, one of the shared UI fonts, or one of its own (owned).
HFONT MakeFont(const SkinObject& object, UniqueFont* own) {
  if (object.fontFace.empty() && object.fontPoints == 0 && !object.fontBold) return nullptr;
  if (object.fontFace.empty() && object.fontPoints == 0) return UiFontBold();
  LOGFONTA font{};
  ::GetObjectA(UiFont(), sizeof(font), &font);
  if (!object.fontFace.empty()) lstrcpynA(font.lfFaceName, object.fontFace.c_str(), LF_FACESIZE);
  if (object.fontPoints > 0) font.lfHeight = -Window::Scale(object.fontPoints * 96 / 72);
  if (object.fontBold) font.lfWeight = FW_BOLD;
  own->reset(::CreateFontIndirectA(&font));
  return own->get();
}

bool IsGroupBox(HWND window) {
  char className[32] = {};
  ::GetClassNameA(window, className, sizeof(className));
  return lstrcmpiA(className, "Button") == 0 &&
         (::GetWindowLongPtrA(window, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
}

// Paints a group box in the flat styles: nothing but the background ("none"), or a thin
// outline with the caption in the accent colour ("line").
void PaintFrame(HWND window, const SkinControl::Applied& applied) {
  PaintDc paint(window);
  RECT client{};
  ::GetClientRect(window, &client);
  // Controls laid over the frame (its siblings or its own children) keep their pixels.
  auto exclude = [&](HWND other) {
    // Other frames are painted by themselves, inside or around this one.
    if (other == window || !::IsWindowVisible(other) || IsGroupBox(other)) return;
    RECT rect{};
    ::GetWindowRect(other, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    ::ExcludeClipRect(paint.get(), rect.left, rect.top, rect.right, rect.bottom);
  };
  for (HWND other = ::GetWindow(window, GW_HWNDFIRST); other;
       other = ::GetWindow(other, GW_HWNDNEXT)) {
    exclude(other);
  }
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    exclude(child);
  }
  ::FillRect(paint.get(), &client, applied.brush);
  if (applied.object.frame == SkinFrameStyle::None) return;

  HFONT font = applied.font ? applied.font
                            : reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  SelectGuard selectFont(paint.get(), font ? font : UiFont());
  const std::string caption = WindowText(window);
  // The caption reads as the system's group box shows it: "&&" is one "&".
  RECT measured{};
  ::DrawTextA(paint.get(), caption.empty() ? " " : caption.c_str(), -1, &measured,
              DT_CALCRECT | DT_SINGLELINE);
  const SIZE text{measured.right - measured.left, measured.bottom - measured.top};
  const int top = text.cy / 2;

  UniquePen pen(::CreatePen(PS_SOLID, 1, ToColorRef(applied.object.border)));
  SelectGuard selectPen(paint.get(), pen.get());
  SelectGuard selectBrush(paint.get(), ::GetStockObject(NULL_BRUSH));
  const int round = Window::Scale(6);
  ::RoundRect(paint.get(), client.left, client.top + top, client.right, client.bottom, round,
              round);
  if (!caption.empty()) {
    const int pad = Window::Scale(4);
    RECT label{client.left + Window::Scale(10), client.top, 0, client.top + text.cy};
    label.right = label.left + text.cx + 2 * pad;
    ::FillRect(paint.get(), &label, applied.brush);
    ::SetBkMode(paint.get(), TRANSPARENT);
    ::SetTextColor(paint.get(), ToColorRef(applied.object.accent));
    RECT textRect{label.left + pad, label.top, label.right, label.bottom};
    ::DrawTextA(paint.get(), caption.c_str(), -1, &textRect, DT_SINGLELINE | DT_NOCLIP);
  }
}

// Group boxes in the flat styles paint themselves; the hook lives as long as the box.
LRESULT FrameHook(Subclass& hook, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = hook.window();
  const SkinControl::Applied* applied = SkinControl::AppliedTo(window);
  if (applied && applied->object.frame != SkinFrameStyle::Group) {
    switch (message) {
      case WM_PAINT: PaintFrame(window, *applied); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_SETTEXT: {
        const LRESULT result = hook.CallNext(message, wParam, lParam);
        ::InvalidateRect(window, nullptr, TRUE);
        return result;
      }
      default: break;
    }
  }
  if (message == WM_NCDESTROY) {
    ::RemovePropA(window, kFrameHookProperty);
    ::RemovePropA(window, kSkinProperty);
    ::RemovePropA(window, kTagProperty);
  }
  return hook.CallNext(message, wParam, lParam);
}

}  // namespace

SkinControl::SkinControl() { Rebuild(BuiltInSkin()); }

bool SkinControl::LoadSkin(const std::string& path) {
  std::string text;
  if (!Files().ReadWholeFile(path, &text)) return false;
  const SkinParseResult parsed = ParseSkin(text);
  if (!parsed.objects) return false;
  Rebuild(*parsed.objects);
  return true;
}

void SkinControl::Rebuild(const SkinObjects& objects) {
  m_objects.clear();
  m_brushes.clear();
  m_fonts.clear();
  for (const auto& [name, object] : objects) {
    Applied& applied = m_objects[name];
    applied.object = object;
    const COLORREF back = ToColorRef(object.back);
    UniqueBrush& brush = m_brushes[back];
    if (!brush) brush.reset(::CreateSolidBrush(back));
    applied.brush = brush.get();
    UniqueFont own;
    applied.font = MakeFont(object, &own);
    if (own) m_fonts.push_back(std::move(own));
  }
}

bool SkinControl::ApplySkin(HWND window, const char* objectName) {
  const auto found = m_objects.find(objectName);
  if (found == m_objects.end() || !::IsWindow(window)) return false;
  const Applied& applied = found->second;
  ::SetPropA(window, kSkinProperty, const_cast<Applied*>(&applied));
  if (applied.font) ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(applied.font), FALSE);
  if (IsGroupBox(window) && !::GetPropA(window, kFrameHookProperty)) {
    if (Subclass* hook = Subclass::HookForLife(window, &FrameHook)) {
      ::SetPropA(window, kFrameHookProperty, hook);
    }
  }
  ::InvalidateRect(window, nullptr, TRUE);
  return true;
}

const SkinControl::Applied* SkinControl::AppliedTo(HWND window) {
  return static_cast<const Applied*>(::GetPropA(window, kSkinProperty));
}

void SetControlTag(HWND control, const char* tag) {
  // The tag text lives in a global atom so the property needs no owner.
  const HANDLE old = ::GetPropA(control, kTagProperty);
  if (old) ::GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(old)));
  const ATOM atom = ::GlobalAddAtomA(tag);
  ::SetPropA(control, kTagProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

std::string ControlTag(HWND control) {
  const HANDLE stored = ::GetPropA(control, kTagProperty);
  if (!stored) return std::string();
  char text[256] = {};
  ::GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(stored)), text, sizeof(text));
  return text;
}

std::optional<LRESULT> SkinCtlColor(HDC dc, HWND control, HWND host) {
  const SkinControl::Applied* applied = SkinControl::AppliedTo(control);
  if (!applied) {
    // A plain label or an unskinned button sits on the host's background.
    char className[32] = {};
    ::GetClassNameA(control, className, sizeof(className));
    if (lstrcmpiA(className, "Static") != 0 && lstrcmpiA(className, "Button") != 0) {
      return std::nullopt;
    }
    for (HWND parent = host; parent && !applied; parent = ::GetParent(parent)) {
      applied = SkinControl::AppliedTo(parent);
    }
    if (!applied) return std::nullopt;
    ::SetBkColor(dc, ToColorRef(applied->object.back));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(applied->brush);
  }
  ::SetBkColor(dc, ToColorRef(applied->object.back));
  ::SetTextColor(dc, ToColorRef(applied->object.text));
  return reinterpret_cast<LRESULT>(applied->brush);
}

bool SkinEraseBackground(HWND window, HDC dc) {
  const SkinControl::Applied* applied = SkinControl::AppliedTo(window);
  if (!applied) return false;
  RECT client{};
  ::GetClientRect(window, &client);
  ::FillRect(dc, &client, applied->brush);
  return true;
}

bool SkinHostMessage(HWND host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_ERASEBKGND:
      if (!SkinEraseBackground(host, reinterpret_cast<HDC>(wParam))) return false;
      *result = 1;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const auto brush =
          SkinCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), host);
      if (!brush) return false;
      *result = *brush;
      return true;
    }
    default: return false;
  }
}

}  // namespace quelvar
