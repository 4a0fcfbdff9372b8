// Fills the version record from GetVersionExA (all zero when the query fails).
#pragma once
#include "base/os_family.h"

namespace quelvar {
WindowsVersionRecord QueryWindowsVersion();
}
