// The description wizard mode shows for the tuning profile: the values in tab-separated
// columns, one or two per line, as the window's label displays them.
#pragma once
#include <string>

#include "tuning/tuning_profile.h"

namespace quelvar {

// Numbers in plain decimal (-1 as "-1"), flags as "True"/"False", lines ending in CR LF.
// The path MTU discovery flag is not shown.
std::string ModeDescription(const TuningProfile& profile);

}  // namespace quelvar
