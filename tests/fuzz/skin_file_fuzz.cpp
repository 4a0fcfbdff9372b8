// Fuzzes the skin file reader: any text either gives a skin or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/skin_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quelvar;
  const SkinParseResult parsed = ParseSkin(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!parsed.objects && parsed.error.empty()) std::abort();
  return 0;
}
