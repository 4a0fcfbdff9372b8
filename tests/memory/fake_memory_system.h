// A memory system for tests: figures as set, blocks refused above a size limit, and a count
// of the message-loop turns and shell calls.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "memory/memory_system.h"

namespace quelvar::testing {

class FakeMemorySystem : public MemorySystem {
 public:
  MemoryFigures figures;
  // Blocks larger than this are refused.
  std::uint64_t largestBlock = UINT64_MAX;
  std::vector<std::uint64_t> committed;  // sizes asked for and granted, in order
  std::uint64_t released = 0;
  std::uint64_t decommitted = 0;
  int yields = 0;
  std::function<void()> onYield;  // runs on every turn of the message loop
  std::uint32_t now = 0;
  std::uint32_t millisecondsPerLook = 0;  // how far the clock moves each time it is read
  std::vector<unsigned> exitFlags;
  std::vector<std::string> shellCalls;  // "verb|file|show"

  MemoryFigures QueryMemoryStatus() override { return figures; }
  void* Commit(std::uint64_t bytes) override {
    if (bytes > largestBlock) return nullptr;
    committed.push_back(bytes);
    m_blocks.emplace_back(bytes, 0xCC);
    return m_blocks.back().data();
  }
  void Decommit(void*, std::uint64_t bytes) override { decommitted += bytes; }
  void Release(void* block, std::uint64_t bytes) override {
    for (const auto& b : m_blocks) {
      if (b.data() == block) lastBlock = b;
    }
    released += bytes;
  }
  void DoEvents() override {
    ++yields;
    if (onYield) onYield();
  }
  std::uint32_t Milliseconds() override { return now += millisecondsPerLook; }
  long ExitWindowsEx(unsigned flags) override {
    exitFlags.push_back(flags);
    return 1;
  }
  void ShellOpen(const char* verb, const std::string& file, int show) override {
    shellCalls.push_back(std::string(verb ? verb : "(null)") + "|" + file + "|" +
                         std::to_string(show));
  }

  // The contents of the last block released.
  std::vector<std::uint8_t> lastBlock;

 private:
  std::vector<std::vector<std::uint8_t>> m_blocks;
};

}  // namespace quelvar::testing
