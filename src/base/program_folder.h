// The folder of the running executable, and paths formed as folder + literal
// (every data file literal begins with a backslash, for example "\Ping.wav").
#pragma once
#include <string>
#include <string_view>

namespace quelvar {

// Set once at start-up (from the executable's path) or by a test.
void SetProgramFolder(std::string folder);
const std::string& ProgramFolder();

// Program folder followed by the literal, unchanged.
std::string ProgramPath(std::string_view literal);

// The folder part of a full executable path, without the trailing backslash
// ("C:\Tools\Quelvar.exe" -> "C:\Tools"; a drive root keeps no backslash: "C:").
std::string FolderOfPath(std::string_view path);

// The file name without folder and extension ("C:\Tools\Quelvar.exe" -> "Quelvar").
std::string BaseNameOfPath(std::string_view path);

}  // namespace quelvar
