// The full path of the running executable, however long; empty when Windows cannot say.
// (GetModuleFileNameA cuts a long path short, and on older Windows leaves it unterminated.)
#pragma once
#include <string>

namespace quelvar {

std::string ModuleFileName();

}  // namespace quelvar
