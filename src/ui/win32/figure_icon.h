// A small icon that shows a few characters (a figure such as "412", "87%" or "9.8G": digits,
// '.', '%' and the unit letters G T P E Z Y) in white dots on a dark square, as large as the
// icon allows: drawn for the notification area at the size the shell asks for, so it stays
// legible at 16 by 16 pixels and at higher dpi.
#pragma once
#include <windows.h>

#include <string>

#include "base/win32/unique_handle.h"

namespace quelvar {

// The figure drawn into a `size` by `size` icon (the caller owns it); null when the system
// refuses a bitmap or the icon.
UniqueIcon MakeFigureIcon(const std::string& figure, int size);

}  // namespace quelvar
