// Playing a sound file by name, asynchronously; behind an interface so the alarm's tests
// hear nothing. The Win32 implementation calls PlaySoundA.
#pragma once
#include <string>

namespace quelvar {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Starts the file playing and returns; true when the system accepted it.
  virtual bool PlayFileAsync(const std::string& path) = 0;
};

}  // namespace quelvar
