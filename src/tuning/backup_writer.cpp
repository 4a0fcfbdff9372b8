// Numbered backup files and the backup writer; see backup_writer.h.
#include "tuning/backup_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/clock.h"
#include "app/file_system.h"
#include "app/os_family.h"
#include "app/program_folder.h"
#include "registry/cregister.h"
#include "registry/scoped_reg_key.h"
#include "tuning/backup_file.h"

namespace quelvar {

namespace {

constexpr const char* kMstcpKey = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kInternetSettings95 =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kNetTransKey = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
constexpr const char* kCacheSizeKey =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";

constexpr const char* kTcpipKeyAsRecorded =
    "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr const char* kTcpipKeyAsRead = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
constexpr const char* kInternetSettingsNt =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kInterfacesKey =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
constexpr const char* kServicesKey = "SYSTEM\\CurrentControlSet\\Services\\";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a text's leading decimal digits hold, with an optional minus sign; 0 when none.
double LeadingNumber(const std::string& text) {
  std::size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
  double value = 0;
  bool any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    any = true;
  }
  if (!any) return 0;
  return text[0] == '-' ? -value : value;
}

// The leading numeric part of a name, the way a number is read from the start of a text:
// blanks skipped, optional sign, digits, optional fraction and exponent.
double LeadingNumericPart(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  bool any = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, any = true) value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, any = true, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  if (!any) return 0;
  if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (text[j] == '-' || text[j] == '+') negativeExponent = text[j++] == '-';
    int exponent = 0;
    bool digits = false;
    for (; j < text.size() && IsDigit(text[j]); ++j, digits = true) {
      exponent = std::min(exponent * 10 + (text[j] - '0'), 400);
    }
    if (digits) value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
  }
  return negative ? -value : value;
}

// A 95-line value: stored as text by this program, so its text's number; a value another
// program stored as a 32-bit number is recorded as that number rather than lost.
double Read95Value(CRegister& reg, RegKey hive, const std::string& key, const std::string& name) {
  std::uint32_t type = kRegNone;
  {
    ScopedRegKey opened;
    if (Registry().OpenKeyEx(hive, key, kKeyRead, opened.put()) == kRegSuccess) {
      opened.Opened();
      std::uint32_t size = 0;
      if (Registry().QueryValueEx(opened.get(), name, &type, nullptr, &size) != kRegSuccess) {
        type = kRegNone;
      }
    }
  }
  if (type == kRegDword) return reg.myREGGetSetting(hive, key, name, 0);
  return LeadingNumber(reg.REGGetSetting(hive, key, name, "0"));
}

void Write95Body(BackupFileWriter& file, CRegister& reg, std::vector<std::string>* skipped) {
  const auto pair = [&](RegKey hive, const char* key, const char* name) {
    file.String(name);
    file.Number(Read95Value(reg, hive, key, name));
  };
  const auto flag = [&](const char* name) {
    file.String(name);
    file.Integer(Read95Value(reg, kHkeyLocalMachine, kMstcpKey, name) != 0 ? 1 : 0);
  };

  file.String(kMstcpKey);
  file.String("SackOpts");
  file.Integer(1);
  file.String("Tcp1323Opts");
  file.Integer(1);
  pair(kHkeyLocalMachine, kMstcpKey, "DefaultTTL");
  pair(kHkeyLocalMachine, kMstcpKey, "DefaultRcvWindow");
  pair(kHkeyLocalMachine, kMstcpKey, "GlobalMaxTcpWindowSize");
  flag("PMTUBlackHoleDetect");
  pair(kHkeyLocalMachine, kMstcpKey, "DefaultRcvWindow");
  flag("PMTUDiscovery");
  pair(kHkeyLocalMachine, kMstcpKey, "KeepAliveTime");
  pair(kHkeyLocalMachine, kMstcpKey, "KeepAliveInterval");

  file.String(kInternetSettings95);
  pair(kHkeyCurrentUser, kInternetSettings95, "MaxConnectionsPer1_0Server");
  pair(kHkeyCurrentUser, kInternetSettings95, "MaxConnectionsPerServer");

  file.String(kCacheSizeKey);
  pair(kHkeyLocalMachine, kCacheSizeKey, "");

  for (const std::string& name : EnumerateMachineSubkeys(kNetTransKey)) {
    if (!IsRecordableText(name)) {
      if (skipped) skipped->push_back(std::string(kNetTransKey) + "\\" + name);
      continue;
    }
    const std::string key = std::string(kNetTransKey) + "\\" + name;
    file.String(key);
    pair(kHkeyLocalMachine, key.c_str(), "MaxMTU");
    pair(kHkeyLocalMachine, key.c_str(), "MaxMSS");
  }
}

void WriteNtBody(BackupFileWriter& file, CRegister& reg, std::vector<std::string>* skipped) {
  const auto pair = [&](RegKey hive, const std::string& key, const char* name) {
    file.String(name);
    file.Number(reg.myREGGetSetting(hive, key, name, 0));
  };

  file.String(kTcpipKeyAsRecorded);
  file.String("SackOpts");
  file.Integer(1);
  file.String("Tcp1323Opts");
  file.Integer(1);
  file.String("TcpMaxDupAcks");
  file.Integer(2);
  file.String("DefaultReceiveWindow");
  file.Integer(8192);
  for (const char* name : {"DefaultTTL", "GlobalMaxTcpWindowSize", "TcpWindowSize",
                           "EnablePMTUBHDetect", "EnablePMTUDiscovery", "KeepAliveTime",
                           "KeepAliveInterval", "SYNAttackProtect", "EnableICMPRedirects"}) {
    pair(kHkeyLocalMachine, kTcpipKeyAsRead, name);
  }

  file.String(kInternetSettingsNt);
  pair(kHkeyCurrentUser, kInternetSettingsNt, "MaxConnectionsPer1_0Server");
  pair(kHkeyCurrentUser, kInternetSettingsNt, "MaxConnectionsPerServer");

  file.String(kCacheSizeKey);
  pair(kHkeyLocalMachine, kCacheSizeKey, "");

  for (const std::string& name : EnumerateMachineSubkeys(kInterfacesKey)) {
    const std::string interfaceKey = std::string(kInterfacesKey) + "\\" + name;
    if (!IsRecordableText(name)) {
      if (skipped) skipped->push_back(interfaceKey);
      continue;
    }
    const std::string adapterKey = kServicesKey + name + "\\Parameters\\Tcpip";
    file.String(interfaceKey);
    pair(kHkeyLocalMachine, interfaceKey, "MTU");
    pair(kHkeyLocalMachine, interfaceKey, "MSS");
    file.String(adapterKey);
    pair(kHkeyLocalMachine, adapterKey, "MTU");
    pair(kHkeyLocalMachine, adapterKey, "MSS");
  }
}

}  // namespace

std::string BackupsFolder() { return ProgramFolder() + "\\" + "Backups"; }

std::string BackupFileNameFor(int number) {
  std::string digits = std::to_string(number);
  if (number >= 1 && number <= 9) digits = "00" + digits;
  if (number >= 10 && number <= 99) digits = "0" + digits;
  return digits + ".BCK";
}

int BackupNumberOfName(const std::string& fileName) {
  std::string_view base(fileName);
  const auto dot = base.find_last_of('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  if (base.size() > 3) base = base.substr(base.size() - 3);
  const double number = std::nearbyint(LeadingNumericPart(base));  // halves to even
  if (number > INT16_MAX) return INT16_MAX;
  if (number < INT16_MIN) return INT16_MIN;
  return static_cast<int>(number);
}

NextBackupTarget FindNextBackupTarget() {
  NextBackupTarget target;
  const std::string folder = BackupsFolder();
  if (!Files().FolderExists(folder)) {
    if (FileStatus created = Files().CreateFolder(folder); !created) {
      target.problem = NextBackupTarget::Problem::kFolderNotCreated;
      target.path = folder;
      target.reason = created.reason;
      return target;
    }
  }
  int highest = 0;
  for (const std::string& name : Files().ListFiles(folder, "*.BCK")) {
    highest = std::max(highest, BackupNumberOfName(name));
  }
  const int next = highest + 1;
  if (next > kHighestBackupNumber) {
    target.problem = NextBackupTarget::Problem::kNumbersUsedUp;
    target.path = folder;
    return target;
  }
  target.path = folder + "\\" + BackupFileNameFor(next);
  return target;
}

std::string NextBackupFileName() {
  NextBackupTarget target = FindNextBackupTarget();
  return target.problem == NextBackupTarget::Problem::kNone ? target.path : std::string();
}

std::vector<std::string> EnumerateMachineSubkeys(const std::string& path, bool* opened) {
  std::vector<std::string> names;
  ScopedRegKey parent;
  const bool isOpen = Registry().OpenKey(kHkeyLocalMachine, path, parent.put()) == kRegSuccess;
  if (opened) *opened = isOpen;
  if (!isOpen) return names;
  parent.Opened();
  for (std::uint32_t index = 0;; ++index) {
    char buffer[256] = {};
    std::uint32_t length = 255;
    if (Registry().EnumKeyEx(parent.get(), index, buffer, &length) != kRegSuccess) break;
    names.emplace_back(buffer, std::min<std::uint32_t>(length, 255));
  }
  return names;
}

std::string BuildTuningBackup(std::vector<std::string>* skippedSubkeys) {
  CRegister reg;
  BackupFileWriter file;
  const LocalDateTime now = TheClock().Now();
  file.Date(now);
  file.Time(now);
  file.Integer(OsFamily);
  if (IsNineFiveLine(OsFamily)) {
    Write95Body(file, reg, skippedSubkeys);
  } else if (IsNtLine(OsFamily)) {
    WriteNtBody(file, reg, skippedSubkeys);
  }
  return file.Contents();
}

BackupResult WriteTuningBackup() {
  BackupResult result;
  if (!IsNineFiveLine(OsFamily) && !IsNtLine(OsFamily)) {
    result.problem = "Quelvar does not recognise this version of Windows, so it made no backup.";
    return result;
  }

  NextBackupTarget target = FindNextBackupTarget();
  result.path = target.path;
  switch (target.problem) {
    case NextBackupTarget::Problem::kFolderNotCreated:
      result.problem = "Quelvar could not create the backup folder \"" + target.path + "\":\n" +
                       target.reason + "\n\nNo backup was saved. No setting was changed.";
      return result;
    case NextBackupTarget::Problem::kNumbersUsedUp:
      result.problem = "The backup folder \"" + target.path +
                       "\" already holds a backup numbered 999, the highest number a backup "
                       "can have, so no new backup can be saved.\n\nDelete the backups with the "
                       "highest numbers in the backup manager, then try again. No setting was "
                       "changed.";
      return result;
    case NextBackupTarget::Problem::kNone:
      break;
  }

  const std::string contents = BuildTuningBackup(&result.skippedSubkeys);
  if (FileStatus saved = Files().WriteWholeFile(target.path, contents); !saved) {
    result.problem = "Quelvar could not save the backup file \"" + target.path + "\":\n" +
                     saved.reason + "\n\nNo setting was changed.";
    return result;
  }
  result.written = true;
  return result;
}

}  // namespace quelvar
