// A console probe for the Wine suite: classifies the Windows version exactly as Quelvar does at
// start-up and exits with OsFamily (plus 100 when the query says NT), so a test can run it under
// each Windows version Wine can report.
#include "base/os_family.h"
#include "base/win32/windows_version.h"

int main() {
  const quelvar::WindowsVersionRecord record = quelvar::QueryWindowsVersion();
  quelvar::setOsFamily(record);
  return quelvar::OsFamily + (quelvar::IsWindowsNT(record) ? 100 : 0);
}
