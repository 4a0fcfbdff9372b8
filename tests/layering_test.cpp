// Keeps the source tree's floors honest: reads every #include "..." under src/ and fails,
// naming the file and line, when a folder reaches above its floor, into another subsystem's
// windows, or into a folder that includes it back. The floors are written down here, once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quelvar {
namespace {

// The floors, lowest first. A folder may include its own floor's portable folders and every
// floor below; a subsystem's win32/ windows belong to that subsystem alone.
const std::map<std::string, int> kFloors = {
    {"base", 0},                                              // ground: services, framework
    {"registry", 1},                                          // the registry and settings
    {"tuning", 2}, {"memory", 2}, {"pinger", 2}, {"ui", 2},  // the subsystems
    {"main", 3},                                              // main window, WinMain
};

struct Include {
  std::string file;  // relative to src/, with '/'
  int line = 0;
  std::string target;  // the included file, relative to src/
  bool system = false; // <...>
};

// "tuning/win32/frm_back_up.h" -> "tuning/win32"; "base/clock.h" -> "base".
std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
std::string TopOf(const std::string& path) { return path.substr(0, path.find('/')); }
bool IsWindowsFolder(const std::string& folder) {
  return folder.size() >= 6 && folder.compare(folder.size() - 6, 6, "/win32") == 0;
}

// Every fault of the includes, one line each ("file:line: what").
std::vector<std::string> LayeringFaults(const std::vector<Include>& includes) {
  std::vector<std::string> faults;
  auto where = [](const Include& i) { return i.file + ":" + std::to_string(i.line) + ": "; };
  std::map<std::pair<std::string, std::string>, const Include*> edges;
  for (const Include& inc : includes) {
    const std::string from = FolderOf(inc.file);
    if (inc.system) {
      if (inc.target == "windows.h" && !IsWindowsFolder(from)) {
        faults.push_back(where(inc) + "portable code includes <windows.h>");
      }
      continue;
    }
    const std::string to = FolderOf(inc.target);
    const auto fromFloor = kFloors.find(TopOf(inc.file));
    const auto toFloor = kFloors.find(TopOf(inc.target));
    if (fromFloor == kFloors.end()) {
      faults.push_back(where(inc) + "folder " + TopOf(inc.file) + " has no floor");
      continue;
    }
    if (toFloor == kFloors.end()) {
      faults.push_back(where(inc) + "includes " + inc.target + ", which lies on no floor");
      continue;
    }
    if (from == to) continue;
    edges.emplace(std::make_pair(from, to), &inc);
    if (toFloor->second > fromFloor->second) {
      faults.push_back(where(inc) + "includes " + inc.target + " from a floor above its own");
    } else if (IsWindowsFolder(to) && !IsWindowsFolder(from)) {
      faults.push_back(where(inc) + "portable code includes the windows of " + inc.target);
    } else if (IsWindowsFolder(to) && toFloor->second == fromFloor->second &&
               TopOf(inc.target) != TopOf(inc.file)) {
      faults.push_back(where(inc) + "includes another subsystem's window " + inc.target);
    }
  }
  for (const auto& [edge, inc] : edges) {
    const auto back = edges.find({edge.second, edge.first});
    if (back != edges.end() && edge.first < edge.second) {
      faults.push_back(where(*inc) + "folders " + edge.first + " and " + edge.second +
                       " include each other (see " + back->second->file + ":" +
                       std::to_string(back->second->line) + ")");
    }
  }
  return faults;
}

std::vector<Include> ReadIncludes(const std::filesystem::path& src) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
  std::vector<Include> includes;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string file = entry.path().lexically_relative(src).generic_string();
    std::ifstream in(entry.path());
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
      ++number;
      std::smatch match;
      if (!std::regex_search(text, match, kInclude)) continue;
      Include inc{file, number, match[2].str(), match[1].str() == "<"};
      if (!inc.system) {
        // Rooted at src/, else beside the including file; others (resource.h) lie outside.
        if (std::filesystem::exists(src / inc.target)) {
        } else if (std::filesystem::exists(entry.path().parent_path() / inc.target)) {
          inc.target = (std::filesystem::path(FolderOf(file)) / inc.target).generic_string();
        } else {
          continue;
        }
      }
      includes.push_back(inc);
    }
  }
  return includes;
}

TEST(Layering, NoFolderIncludesAboveItsFloorOrIntoAnotherSubsystemsWindows) {
  const auto src = std::filesystem::path(QUELVAR_SOURCE_DIR) / "src";
  const std::vector<Include> includes = ReadIncludes(src);
  ASSERT_GT(includes.size(), 100u) << "no sources found under " << src;
  std::ostringstream report;
  for (const std::string& fault : LayeringFaults(includes)) report << fault << "\n";
  EXPECT_EQ(report.str(), "");
}

// The rules themselves: each kind of fault is found and named by file and line.
TEST(Layering, EachRuleNamesTheOffendingFileAndLine) {
  const struct {
    Include include;
    const char* fault;  // empty: allowed
  } cases[] = {
      {{"tuning/backup_writer.cpp", 3, "base/clock.h"}, ""},
      {{"tuning/win32/frm_back_up.cpp", 4, "tuning/backup_restore.h"}, ""},
      {{"main/win32/frm_main.cpp", 5, "memory/win32/frm_system_status.h"}, ""},
      {{"base/win32/skin.cpp", 6, "windows.h", true}, ""},
      {{"base/services.cpp", 7, "registry/registry_backend.h"},
       "base/services.cpp:7: includes registry/registry_backend.h from a floor above its own"},
      {{"ui/win32/tray.h", 8, "main/win32/frm_main.h"},
       "ui/win32/tray.h:8: includes main/win32/frm_main.h from a floor above its own"},
      {{"memory/win32/a.cpp", 9, "tuning/win32/frm_back_up.h"},
       "memory/win32/a.cpp:9: includes another subsystem's window tuning/win32/frm_back_up.h"},
      {{"tuning/list_sort.cpp", 10, "tuning/win32/m_list_view.h"},
       "tuning/list_sort.cpp:10: portable code includes the windows of "
       "tuning/win32/m_list_view.h"},
      {{"tuning/list_sort.cpp", 11, "windows.h", true},
       "tuning/list_sort.cpp:11: portable code includes <windows.h>"},
      {{"app/old.cpp", 12, "base/clock.h"}, "app/old.cpp:12: folder app has no floor"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.include.file + ":" + std::to_string(c.include.line));
    const auto faults = LayeringFaults({c.include});
    EXPECT_EQ(faults.empty() ? std::string() : faults.front(), c.fault);
  }
  const auto loop =
      LayeringFaults({{"memory/a.cpp", 1, "pinger/b.h"}, {"pinger/b.cpp", 2, "memory/a.h"}});
  ASSERT_EQ(loop.size(), 1u);
  EXPECT_EQ(loop[0],
            "memory/a.cpp:1: folders memory and pinger include each other (see pinger/b.cpp:2)");
}

}  // namespace
}  // namespace quelvar
