// The processor meters: the NT arithmetic with its worked examples, a failed call keeping the
// previous sample, and the 95 line's statistics keys under the dynamic-data root.
#include <gtest/gtest.h>

#include <deque>

#include "memory/processor_meter.h"
#include "registry/memory_registry.h"

namespace quelvar {
namespace {

TEST(ProcessorMeterTest, NtArithmetic) {
  const struct {
    std::int64_t idle;
    std::int64_t time;
    unsigned processors;
    std::int32_t usage;
  } cases[] = {
      {10'000'000, 10'000'000, 2, 50},  // two processors, fully idle
      {2'345'000, 10'000'000, 1, 77},   // one processor, idle 0.2345 of the time
      {0, 0, 1, 100},                   // queried twice within one clock tick
      {0, 10'000'000, 1, 100},          // fully busy
      {10'000'000, 10'000'000, 1, 0},   // fully idle
      {5'000'000, 10'000'000, 0, -1},   // no processors reported
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProcessorUsagePercent(c.idle, c.time, c.processors), c.usage)
        << c.idle << "/" << c.time << " on " << c.processors;
  }
}

// Answers each class from a queue of samples; an empty queue fails the call.
struct ScriptedSystem : SystemInformation {
  std::uint8_t processors = 1;
  bool basicFails = false;
  std::deque<std::int64_t> idle, time;
  bool NumberOfProcessors(std::uint8_t* n) override {
    *n = processors;
    return !basicFails;
  }
  bool IdleTime(std::int64_t* value) override { return Next(idle, value); }
  bool SystemTime(std::int64_t* value) override { return Next(time, value); }
  static bool Next(std::deque<std::int64_t>& queue, std::int64_t* value) {
    if (queue.empty()) return false;
    *value = queue.front();
    queue.pop_front();
    return true;
  }
};

TEST(ProcessorMeterTest, NtFailureGivesMinusOneAndKeepsThePreviousSample) {
  ScriptedSystem system;
  system.time = {1'000'000, 2'000'000};
  system.idle = {500'000, 1'000'000};
  clsCPUUsageNT meter(system);
  meter.Initialize();
  EXPECT_EQ(meter.Query(), 50);  // idle 500000 of 1000000 since Initialize
  system.basicFails = true;
  EXPECT_EQ(meter.Query(), -1);
  system.basicFails = false;
  system.time = {4'000'000};
  EXPECT_EQ(meter.Query(), -1) << "idle time missing";
  system.time = {4'000'000};
  system.idle = {1'500'000};
  EXPECT_EQ(meter.Query(), 75) << "measured from the last good sample (2000000, 1000000)";
}

class NineFiveMeterTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRegistryBackend(registry); }
  void PutUsage(const char* path, std::uint32_t value) {
    registry.Put(kHkeyDynData, path, "KERNEL\\CPUUsage",
                 {kRegBinary, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8), 0, 0}});
  }
  MemoryRegistry registry;
};

TEST_F(NineFiveMeterTest, ReadsTheLowByteAndKeepsTheLastValue) {
  registry.CreatePath(kHkeyDynData, "PerfStats\\StartStat");
  registry.CreatePath(kHkeyDynData, "PerfStats\\StopStat");
  PutUsage("PerfStats\\StatData", 0x12A);  // only the low byte counts
  clsCPUUsage meter;
  meter.Initialize();
  EXPECT_EQ(meter.Query(), 0x2A);
  PutUsage("PerfStats\\StatData", 17);
  EXPECT_EQ(meter.Query(), 17);
  // A read that fails (the value gone) shows the last figure again.
  RegKey data = 0;
  ASSERT_EQ(registry.OpenKeyEx(kHkeyDynData, "PerfStats\\StatData", kKeyAllAccess, &data), kRegSuccess);
  ASSERT_EQ(registry.DeleteValue(data, "KERNEL\\CPUUsage"), kRegSuccess);
  registry.CloseKey(data);
  EXPECT_EQ(meter.Query(), 17);
  meter.Terminate();
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(NineFiveMeterTest, WithoutTheStartKeyItShowsZero) {
  PutUsage("PerfStats\\StatData", 42);
  clsCPUUsage meter;
  meter.Initialize();
  EXPECT_EQ(meter.Query(), 0);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quelvar
