// FreeRAM: the figures stay whole beyond 4 GB, and FreeUpMemory keeps its contract (yields,
// block size, every byte written, the one retry at half, 0 when all is refused, the block
// always released, no nested free).
#include <gtest/gtest.h>

#include "memory/free_ram.h"
#include "memory/fake_memory_system.h"

namespace quelvar {
namespace {

using testing::FakeMemorySystem;

TEST(FreeRamTest, FiguresAreWideAndNeverNegative) {
  FakeMemorySystem system;
  system.figures.totalPhysical = 6ull << 30;
  system.figures.availablePhysical = 3ull << 30;
  system.figures.memoryLoad = 50;
  FreeRAM ram(system);
  EXPECT_EQ(ram.GetTotalPhysical(), 6ll << 30);
  EXPECT_EQ(ram.GetFreePhysical(), 3ll << 30);
  EXPECT_EQ(ram.GetMemoryLoad(), 50);
}

TEST(FreeRamTest, FreeUpMemoryRetriesOnceAtHalfAndReleasesTheBlock) {
  const struct {
    std::int64_t request;
    std::uint64_t largestBlock;
    std::int64_t result;
    int yields;
    std::vector<std::uint64_t> committed;
  } cases[] = {
      {0, UINT64_MAX, 0, 10, {}},
      {1000, UINT64_MAX, 1000, 10, {2000}},
      {1000, 1000, 500, 5, {1000}},
      {5, 9, 2, 5, {4}},
      {7, 13, 4, 5, {8}},
      {1000, 10, 0, 5, {}},
      {-3, UINT64_MAX, 0, 10, {}},
  };
  for (const auto& c : cases) {
    FakeMemorySystem system;
    system.largestBlock = c.largestBlock;
    FreeRAM ram(system);
    EXPECT_EQ(ram.FreeUpMemory(c.request), c.result) << c.request << " of " << c.largestBlock;
    EXPECT_EQ(system.yields, c.yields) << c.request;
    EXPECT_EQ(system.committed, c.committed) << c.request;
    std::uint64_t total = 0;
    for (auto size : system.committed) total += size;
    EXPECT_EQ(system.released, total) << "every block goes back";
    EXPECT_EQ(system.decommitted, total) << "in slices first";
    EXPECT_FALSE(FreeRAM::FreeInProgress());
  }
}

TEST(FreeRamTest, EveryCharacterIsASpaceAndTheWriteYieldsWhenSlow) {
  FakeMemorySystem system;
  system.millisecondsPerLook = kFreeSliceMilliseconds;  // every slice overruns the budget
  FreeRAM ram(system);
  const std::int64_t count = 3 * 512 * 1024 + 17;  // three whole slices and a part
  ASSERT_EQ(ram.FreeUpMemory(count), count);
  ASSERT_EQ(system.lastBlock.size(), static_cast<std::size_t>(2 * count));
  for (std::size_t i = 0; i < system.lastBlock.size(); i += 2) {
    ASSERT_EQ(system.lastBlock[i], 0x20) << i;
    ASSERT_EQ(system.lastBlock[i + 1], 0x00) << i;
  }
  EXPECT_EQ(system.yields, 10 + 3) << "a turn between slices, none after the last";
}

TEST(FreeRamTest, AFreeStartedFromItsOwnMessageProcessingIsSkipped) {
  FakeMemorySystem system;
  FreeRAM ram(system);
  std::vector<std::int64_t> nested;
  system.onYield = [&] {
    EXPECT_TRUE(FreeRAM::FreeInProgress());
    FreeRAM other(system);
    nested.push_back(other.FreeUpMemory(64));
  };
  EXPECT_EQ(ram.FreeUpMemory(100), 100);
  EXPECT_EQ(nested, std::vector<std::int64_t>(10, 0));
  EXPECT_EQ(system.committed, std::vector<std::uint64_t>{200});
  EXPECT_FALSE(FreeRAM::FreeInProgress());
}

TEST(FreeRamTest, ExitWindowsMatchesItsWordsInAnyCase) {
  const struct {
    const char* word;
    long result;
    std::vector<unsigned> flags;
  } cases[] = {
      {"Reboot", 1, {kExitReboot}}, {"SHUTDOWN", 1, {kExitShutdown}}, {"logoff", 1, {kExitLogoff}},
      {"restart", 0, {}},           {"", 0, {}},
  };
  for (const auto& c : cases) {
    FakeMemorySystem system;
    EXPECT_EQ(FreeRAM(system).ExitWindows(c.word), c.result) << c.word;
    EXPECT_EQ(system.exitFlags, c.flags) << c.word;
  }
  FakeMemorySystem system;
  FreeRAM(system).GoToURL("http://127.0.0.1/");
  FreeRAM(system).eMail("someone@example.invalid");
  EXPECT_EQ(system.shellCalls, (std::vector<std::string>{"open|http://127.0.0.1/|3",
                                                         "(null)|mailto:someone@example.invalid|9"}));
}

}  // namespace
}  // namespace quelvar
