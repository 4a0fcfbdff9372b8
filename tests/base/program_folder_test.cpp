// Program folder + literal, and the folder and base name of an executable's path.
#include <gtest/gtest.h>

#include "base/program_folder.h"

namespace quelvar {
namespace {

TEST(ProgramFolder, PathIsFolderFollowedByTheLiteral) {
  SetProgramFolder("C:\\Program Files\\Quelvar");
  EXPECT_EQ(ProgramPath("\\RQLV.swf"), "C:\\Program Files\\Quelvar\\RQLV.swf");
  EXPECT_EQ(ProgramPath(""), "C:\\Program Files\\Quelvar");
}

TEST(ProgramFolder, FolderAndBaseNameOfAnExecutable) {
  EXPECT_EQ(FolderOfPath("C:\\Tools\\Quelvar.exe"), "C:\\Tools");
  EXPECT_EQ(FolderOfPath("C:\\Quelvar.exe"), "C:");
  EXPECT_EQ(FolderOfPath("Quelvar.exe"), "");
  EXPECT_EQ(BaseNameOfPath("C:\\Tools\\Quelvar.exe"), "Quelvar");
  EXPECT_EQ(BaseNameOfPath("C:\\my.tools\\Quelvar"), "Quelvar");
  EXPECT_EQ(BaseNameOfPath("D:\\a\\b.c.exe"), "b.c");
}

}  // namespace
}  // namespace quelvar
