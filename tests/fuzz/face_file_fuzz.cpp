// Fuzzes the face file reader: any text either gives a face whose buttons all lie in a known
// group (or none) or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "main/face_content.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quelvar;
  const FaceParseResult parsed =
      ParseFaceContent(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!parsed.content) {
    if (parsed.error.empty()) std::abort();
    return 0;
  }
  for (const FaceButton& button : parsed.content->buttons) {
    if (button.group >= static_cast<int>(parsed.content->groups.size())) std::abort();
    StripMnemonic(button.caption);
  }
  return 0;
}
