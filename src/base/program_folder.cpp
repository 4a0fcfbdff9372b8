// Program folder bookkeeping; see program_folder.h.
#include "base/program_folder.h"

namespace quelvar {

namespace {
std::string& Folder() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetProgramFolder(std::string folder) { Folder() = std::move(folder); }
const std::string& ProgramFolder() { return Folder(); }

std::string ProgramPath(std::string_view literal) {
  std::string path = Folder();
  path += literal;
  return path;
}

std::string FolderOfPath(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string();
  return std::string(path.substr(0, slash));
}

std::string BaseNameOfPath(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace quelvar
