// The platform's standard message box, behind an interface so tests can see what the user
// is told. Styles and results carry the Windows values.
#pragma once
#include <string>

namespace quelvar {

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// The application's title, used where a box's title is not stated.
inline constexpr const char* kAppTitle = "Quelvar";

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows a modal box and returns the button chosen (kIdOk, kIdYes, ...).
  virtual int Show(const std::string& text, const std::string& title, unsigned style) = 0;
};

void SetMessageBoxService(MessageBoxService& service);
MessageBoxService& MessageBoxes();

}  // namespace quelvar
