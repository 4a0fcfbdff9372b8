// The clock service over the local time of the machine.
#pragma once
#include "base/clock.h"

namespace quelvar {

class Win32Clock : public Clock {
 public:
  LocalDateTime Now() override;  // GetLocalTime
};

}  // namespace quelvar
