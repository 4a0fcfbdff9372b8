// The platform's standard message box, owned by the active window of the program.
#pragma once
#include "base/message_box.h"

namespace quelvar {

class Win32MessageBox : public MessageBoxService {
 public:
  int Show(const std::string& text, const std::string& title, unsigned style) override;
};

}  // namespace quelvar
