// Brushes once per colour; see paint.h.
#include "base/win32/paint.h"

#include <map>

namespace quelvar {

HBRUSH SolidBrush(COLORREF color) {
  static std::map<COLORREF, UniqueBrush> brushes;
  UniqueBrush& brush = brushes[color];
  if (!brush) brush.reset(::CreateSolidBrush(color));
  return brush ? brush.get() : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

}  // namespace quelvar
