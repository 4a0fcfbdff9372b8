// Applying the tuning profile; see apply_profile.h.
#include "tuning/apply_profile.h"

#include <cstdint>

#include "base/message_box.h"
#include "base/os_family.h"
#include "registry/registry_access.h"
#include "tuning/backup_file.h"
#include "tuning/backup_layout.h"
#include "tuning/backup_writer.h"
#include "tuning/tuning_keys.h"
#include "tuning/tuning_profile.h"

namespace quelvar {

namespace {

constexpr std::int32_t kTypeString = 1;  // REG_SZ: the number's decimal text
constexpr std::int32_t kTypeNumber = 4;  // REG_DWORD

constexpr std::size_t kMostListedProblems = 12;

// Collects the steps of one apply in order.
class PlanSteps {
 public:
  PlanSteps(std::int32_t type, std::vector<PlannedValue>& plan) : m_type(type), m_plan(plan) {}

  void Set(RegKey hive, const std::string& key, const std::string& name, std::int32_t value) {
    SetOrRemove(hive, key, name, value, false);
  }
  // Removed instead of written when `remove` is set.
  void SetOrRemove(RegKey hive, const std::string& key, const std::string& name, std::int32_t value,
                   bool remove) {
    m_plan.push_back({hive, key, name, m_type, value, remove});
  }

 private:
  std::int32_t m_type;
  std::vector<PlannedValue>& m_plan;
};

// The adapter subkeys of `parent` the apply touches: those a backup can record (the backup left
// the others out, so they are left alone here too).
std::vector<std::string> RecordableSubkeys(const std::string& parent,
                                           std::vector<std::string>* skippedSubkeys) {
  std::vector<std::string> names;
  for (std::string& name : EnumerateMachineSubkeys(parent)) {
    if (IsRecordableText(name)) {
      names.push_back(std::move(name));
    } else if (skippedSubkeys != nullptr) {
      const std::string path = parent + "\\" + name;
      bool known = false;
      for (const std::string& skipped : *skippedSubkeys) known = known || skipped == path;
      if (!known) skippedSubkeys->push_back(path);
    }
  }
  return names;
}

std::int32_t Flag(bool value) { return value ? 1 : 0; }

void Plan95(const TuningProfile& p, PlanSteps& steps, std::vector<std::string>* skipped) {
  const std::string mstcp(kMstcpKey);
  steps.Set(kHkeyLocalMachine, mstcp, "SackOpts", 1);
  steps.Set(kHkeyLocalMachine, mstcp, "Tcp1323Opts", 1);
  steps.Set(kHkeyLocalMachine, mstcp, "DefaultTTL", p.TTL);
  steps.SetOrRemove(kHkeyLocalMachine, mstcp, "DefaultRcvWindow", p.RWIN, p.RWIN == -1);
  steps.SetOrRemove(kHkeyLocalMachine, mstcp, "GlobalMaxTcpWindowSize", p.RWIN, p.RWIN == -1);
  steps.Set(kHkeyLocalMachine, mstcp, "PMTUBlackHoleDetect", Flag(p.BlackHoleDetect));
  steps.Set(kHkeyLocalMachine, mstcp, "PMTUDiscovery", Flag(p.MTUDiscovery));
  steps.Set(kHkeyLocalMachine, mstcp, "KeepAliveTime", p.KeepAliveTime);
  steps.Set(kHkeyLocalMachine, mstcp, "KeepAliveInterval", p.KeepAliveInterval);

  const std::string internet(kInternetSettings95Key);
  steps.Set(kHkeyCurrentUser, internet, "MaxConnectionsPer1_0Server", p.HTTP10Connections);
  steps.Set(kHkeyCurrentUser, internet, "MaxConnectionsPerServer", p.HTTP11Connections);

  steps.Set(kHkeyLocalMachine, std::string(kNdiCacheSizeKey), "", p.NDICacheSize);

  const std::string netTrans(kNetTransKey);
  const bool removeMtu = p.MTU == -1;
  for (const std::string& name : RecordableSubkeys(netTrans, skipped)) {
    const std::string key = netTrans + "\\" + name;
    steps.SetOrRemove(kHkeyLocalMachine, key, "MaxMTU", p.MTU, removeMtu);
    steps.SetOrRemove(kHkeyLocalMachine, key, "MaxMSS", p.MSS, removeMtu || p.MSS == -1);
  }
}

void PlanNt(const TuningProfile& p, PlanSteps& steps, std::vector<std::string>* skipped) {
  const std::string fixedKey(kTcpipParametersKey);
  steps.Set(kHkeyLocalMachine, fixedKey, "SackOpts", 1);
  steps.Set(kHkeyLocalMachine, fixedKey, "Tcp1323Opts", 1);
  steps.Set(kHkeyLocalMachine, fixedKey, "TcpMaxDupAcks", 2);
  steps.Set(kHkeyLocalMachine, fixedKey, "DefaultReceiveWindow", 8192);

  const std::string params(kTcpipParametersTunedKey);
  steps.Set(kHkeyLocalMachine, params, "DefaultTTL", p.TTL);
  steps.SetOrRemove(kHkeyLocalMachine, params, "GlobalMaxTcpWindowSize", p.RWIN, p.RWIN == -1);
  steps.SetOrRemove(kHkeyLocalMachine, params, "TcpWindowSize", p.RWIN, p.RWIN == -1);
  steps.Set(kHkeyLocalMachine, params, "EnablePMTUBHDetect", Flag(p.BlackHoleDetect));
  steps.Set(kHkeyLocalMachine, params, "EnablePMTUDiscovery", Flag(p.MTUDiscovery));
  steps.Set(kHkeyLocalMachine, params, "KeepAliveTime", p.KeepAliveTime);
  steps.Set(kHkeyLocalMachine, params, "KeepAliveInterval", p.KeepAliveInterval);
  steps.Set(kHkeyLocalMachine, params, "SYNAttackProtect", p.SYNProtect);
  steps.Set(kHkeyLocalMachine, params, "EnableICMPRedirects", Flag(p.ICMPRedirect));

  const std::string internet(kInternetSettingsNtKey);
  steps.Set(kHkeyCurrentUser, internet, "MaxConnectionsPer1_0Server", p.HTTP10Connections);
  steps.Set(kHkeyCurrentUser, internet, "MaxConnectionsPerServer", p.HTTP11Connections);

  // Each interface's own key and its service's TCP/IP key, as a backup records them.
  const AdapterKeyForm& interfaceForm = NtLayout().adapterGroups[0];
  const AdapterKeyForm& serviceForm = NtLayout().adapterGroups[1];
  const bool removeMtu = p.MTU == -1;
  const bool removeMss = removeMtu || p.MSS == -1;
  for (const std::string& name : RecordableSubkeys(std::string(kInterfacesKey), skipped)) {
    const std::string interfaceKey = interfaceForm.KeyFor(name);
    const std::string adapterKey = serviceForm.KeyFor(name);
    steps.SetOrRemove(kHkeyLocalMachine, interfaceKey, "MTU", p.MTU, removeMtu);
    steps.SetOrRemove(kHkeyLocalMachine, adapterKey, "MTU", p.MTU, removeMtu);
    steps.SetOrRemove(kHkeyLocalMachine, interfaceKey, "MSS", p.MSS, removeMss);
    steps.SetOrRemove(kHkeyLocalMachine, adapterKey, "MSS", p.MSS, removeMss);
  }

  steps.Set(kHkeyLocalMachine, std::string(kNdiCacheSizeKey), "", p.NDICacheSize);
}

// Executes the plan in order and keeps the steps that failed.
void ExecutePlan(const std::vector<PlannedValue>& plan, ApplyOutcome& outcome) {
  for (const PlannedValue& step : plan) {
    const RegStatus status = SetOrDeleteRegistryValue(step.hive, step.key, step.name, step.type,
                                                      RegValue(step.value), step.remove);
    // Removing a value that is not there leaves the registry as asked.
    if (status == kRegSuccess || (step.remove && status == kRegFileNotFound)) continue;
    outcome.failures.push_back({step.hive, step.key, step.name, status});
  }
}

std::string HiveName(RegKey hive) {
  return hive == kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string StatusText(RegStatus status) {
  switch (status) {
    case kRegAccessDenied:
      return "access denied";
    case kRegFileNotFound:
      return "not found";
    default:
      return "error " + std::to_string(status);
  }
}

}  // namespace

std::vector<PlannedValue> PlanTuningApply(const TuningProfile& profile, int osFamily,
                                          std::vector<std::string>* skippedSubkeys) {
  std::vector<PlannedValue> plan;
  if (IsNineFiveLine(osFamily)) {
    PlanSteps steps(kTypeString, plan);
    Plan95(profile, steps, skippedSubkeys);
  } else if (IsNtLine(osFamily)) {
    PlanSteps steps(kTypeNumber, plan);
    PlanNt(profile, steps, skippedSubkeys);
  }
  return plan;
}

std::string ApplyProblemsMessage(const ApplyOutcome& outcome) {
  std::string text;
  if (!outcome.failures.empty()) {
    text += "Quelvar could not change these settings; they keep their earlier values:\n\n";
    for (std::size_t i = 0; i < outcome.failures.size() && i < kMostListedProblems; ++i) {
      const FailedRegistryValue& f = outcome.failures[i];
      text += HiveName(f.hive) + "\\" + f.key + "\\" +
              (f.name.empty() ? std::string("(default value)") : f.name) + " (" +
              StatusText(f.status) + ")\n";
    }
    if (outcome.failures.size() > kMostListedProblems) {
      text +=
          "... and " + std::to_string(outcome.failures.size() - kMostListedProblems) + " more.\n";
    }
  }
  if (!outcome.skippedSubkeys.empty()) {
    if (!text.empty()) text += "\n";
    text +=
        "These adapter keys were left unchanged because their names hold a quotation mark "
        "or a line break, which a backup file cannot record:\n\n";
    for (std::size_t i = 0; i < outcome.skippedSubkeys.size() && i < kMostListedProblems; ++i) {
      text += "HKEY_LOCAL_MACHINE\\" + outcome.skippedSubkeys[i] + "\n";
    }
    if (outcome.skippedSubkeys.size() > kMostListedProblems) {
      text += "... and " + std::to_string(outcome.skippedSubkeys.size() - kMostListedProblems) +
              " more.\n";
    }
  }
  if (!text.empty() && !outcome.backupPath.empty()) {
    text += "\nEvery other setting was changed. The values from before are saved in \"" +
            outcome.backupPath + "\".";
  }
  return text;
}

ApplyOutcome ApplyTuningProfileWithOutcome() {
  ApplyOutcome outcome;
  const int family = OsFamily;
  if (!IsNineFiveLine(family) && !IsNtLine(family)) return outcome;

  // The plan only reads; a user who may not change its keys is told before the backup.
  std::vector<std::string> planSkipped;
  const std::vector<PlannedValue> plan = PlanTuningApply(g_TuningProfile, family, &planSkipped);
  std::vector<TuningKey> keys;
  for (const PlannedValue& step : plan) keys.push_back({step.hive, step.key});
  outcome.refusal = TuningKeysWriteRefusal(family, keys, TuningChange::kApply);
  if (!outcome.refusal.empty()) {
    MessageBoxes().Show(outcome.refusal, kAppTitle, kMbOk | kMbIconExclamation);
    return outcome;
  }

  BackupResult backup = WriteTuningBackup();
  outcome.backupPath = backup.path;
  outcome.skippedSubkeys = backup.skippedSubkeys;
  if (!backup.written) {
    outcome.refusal = backup.problem;
    MessageBoxes().Show(outcome.refusal, kAppTitle, kMbOk | kMbIconExclamation);
    return outcome;
  }
  for (const std::string& path : planSkipped) {
    bool known = false;
    for (const std::string& skipped : outcome.skippedSubkeys) known = known || skipped == path;
    if (!known) outcome.skippedSubkeys.push_back(path);
  }

  ExecutePlan(plan, outcome);
  outcome.ran = true;

  const std::string problems = ApplyProblemsMessage(outcome);
  if (!problems.empty()) MessageBoxes().Show(problems, kAppTitle, kMbOk | kMbIconExclamation);
  return outcome;
}

bool ApplyTuningProfile() { return ApplyTuningProfileWithOutcome().ran; }

}  // namespace quelvar
