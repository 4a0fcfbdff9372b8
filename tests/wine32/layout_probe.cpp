// A 32-bit console program that checks the record sizes the 32-bit layout fixes: the tray
// record as the program sends it, the processor meter's basic-information record (and that the
// system accepts that size), and the echo reply. Prints each and "layout ok" when all are right.
#include <windows.h>
#include <shellapi.h>
#include <winternl.h>
#include <ipexport.h>

#include <cstdio>

#include "base/win32/optional_api.h"
#include "ui/win32/tray.h"

int main() {
  struct Record {
    const char* name;
    unsigned size;
    unsigned expected;
  };
  const Record records[] = {
      {"tray record (NOTIFYICONDATAA, second version)", quelvar::Tray::kRecordSize, 488},
      {"tray record (NOTIFYICONDATAA, first version)", quelvar::Tray::kRecordSizeV1, 88},
      {"SYSTEM_BASIC_INFORMATION", sizeof(SYSTEM_BASIC_INFORMATION), 44},
      {"ICMP_ECHO_REPLY", sizeof(ICMP_ECHO_REPLY), 28},
  };
  bool ok = sizeof(void*) == 4;
  std::printf("pointer size %u\n", static_cast<unsigned>(sizeof(void*)));
  for (const Record& r : records) {
    std::printf("%s: %u bytes (expected %u)\n", r.name, r.size, r.expected);
    ok = ok && r.size == r.expected;
  }
  // The system takes the 44-byte record for class 0 (SystemBasicInformation) from a 32-bit program.
  if (auto query = quelvar::optional_api::NtQuerySystemInformation()) {
    SYSTEM_BASIC_INFORMATION info{};
    ULONG returned = 0;
    const LONG status = query(0, &info, sizeof(info), &returned);
    std::printf("NtQuerySystemInformation(basic, 44 bytes): status 0x%08lx, %lu bytes returned\n",
                static_cast<unsigned long>(status), static_cast<unsigned long>(returned));
    ok = ok && status == 0 && returned == sizeof(info);
  }
  std::printf(ok ? "layout ok\n" : "layout WRONG\n");
  return ok ? 0 : 1;
}
