// One move-only owner for every kind of Windows handle; a line per handle type below.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace quelvar {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return m_handle; }
  explicit operator bool() const { return Traits::IsValid(m_handle); }
  // Hands ownership away (a region given to SetWindowRgn belongs to the system).
  Handle release() { return std::exchange(m_handle, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (Traits::IsValid(m_handle)) Traits::Close(m_handle);
    m_handle = handle;
  }
  // For out-parameters: closes the current handle first.
  Handle* put() {
    reset();
    return &m_handle;
  }

 private:
  Handle m_handle = Traits::Invalid();
};

template <typename H, auto CloseFn>
struct NullHandleTraits {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { CloseFn(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(Handle h) { ::FindClose(h); }
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }

using UniqueHkey = UniqueHandle<NullHandleTraits<HKEY, ::RegCloseKey>>;
using UniqueKernelHandle = UniqueHandle<NullHandleTraits<HANDLE, ::CloseHandle>>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, ::DestroyIcon>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, ::DestroyMenu>>;
using UniqueDc = UniqueHandle<NullHandleTraits<HDC, ::DeleteDC>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, DeleteGdiObject>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, DeleteGdiObject>>;
using UniquePen = UniqueHandle<NullHandleTraits<HPEN, DeleteGdiObject>>;
using UniqueRegion = UniqueHandle<NullHandleTraits<HRGN, DeleteGdiObject>>;
using UniqueImageList = UniqueHandle<NullHandleTraits<HIMAGELIST, ::ImageList_Destroy>>;

// Restores what SelectObject replaced when it goes out of scope.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() { ::SelectObject(m_dc, m_old); }

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { ::EndPaint(m_window, &m_paint); }
  HDC get() const { return m_dc; }
  const PAINTSTRUCT& paint() const { return m_paint; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};

// GetDC/ReleaseDC.
class ClientDc {
 public:
  explicit ClientDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;
  ~ClientDc() {
    if (m_dc) ::ReleaseDC(m_window, m_dc);
  }
  HDC get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

}  // namespace quelvar
