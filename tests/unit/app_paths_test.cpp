#include "app/app_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vendrel::app {
namespace {

TEST(AppPaths, EveryPathHangsOffTheProgramFolder) {
  const AppPaths p = ComputeAppPaths(u"C:\\Program Files\\Vendrel\\Vendrel.exe");
  const std::u16string f = u"C:\\Program Files\\Vendrel\\";
  EXPECT_EQ(p.exe_file_name, u"Vendrel.exe");
  EXPECT_EQ(p.program_folder, f);
  EXPECT_EQ(p.help_folder, f + u"Help\\");
  EXPECT_EQ(p.main_skin_file, f + u"Skins\\Main.ini");
  EXPECT_EQ(p.skin_folder, f + u"Skins\\");
  EXPECT_EQ(p.colour_file_prefix, f + u"Skins\\UserDengColor_");
  EXPECT_EQ(p.profile_skin_file, f + u"Skins\\Profile.ini");
  EXPECT_EQ(p.profile_skin_folder, f + u"Skins\\");
  EXPECT_EQ(p.update_skin_file, f + u"Skins\\UpdateDlg.ini");
  EXPECT_EQ(p.update_skin_folder, f + u"Skins\\");
  EXPECT_EQ(p.package_folder, f + u"Package");
  EXPECT_EQ(p.composite_skin_file, f + u"Skins\\Composite.ini");
  EXPECT_EQ(p.composite_skin_folder, f + u"Skins\\");
  EXPECT_EQ(p.companion_program, f + u"Keywarden.exe");
  EXPECT_EQ(p.language_file, f + u"Skins\\language.ini");
}

struct SplitCase {
  std::u16string_view full;
  std::u16string_view folder;
  std::u16string_view file;
};

TEST(AppPaths, SplitsOnEitherSeparatorAndKeepsABareDrive) {
  const SplitCase cases[] = {
      {u"Z:/opt/vendrel/Vendrel.exe", u"Z:/opt/vendrel/", u"Vendrel.exe"},
      {u"C:\\a/b\\V.EXE", u"C:\\a/b\\", u"V.EXE"},
      {u"D:Vendrel.exe", u"D:", u"Vendrel.exe"},
      {u"Vendrel.exe", u"", u"Vendrel.exe"},
      {u"\\\\server\\share\\Vendrel.exe", u"\\\\server\\share\\", u"Vendrel.exe"},
  };
  for (const SplitCase& c : cases) {
    const AppPaths p = ComputeAppPaths(c.full);
    EXPECT_EQ(p.program_folder, c.folder);
    EXPECT_EQ(p.exe_file_name, c.file);
  }
}

TEST(AppPaths, LongPathsAreCutTo259Characters) {
  const std::u16string folder = u"C:\\" + std::u16string(250, u'x') + u"\\";
  const AppPaths p = ComputeAppPaths(folder + u"Vendrel.exe");
  EXPECT_EQ(p.program_folder, folder);
  EXPECT_EQ(p.language_file.size(), kMaxPathChars);
  EXPECT_EQ(p.language_file, (folder + u"Skins\\language.ini").substr(0, kMaxPathChars));
  EXPECT_EQ(p.companion_program.size(), kMaxPathChars);

  const AppPaths q = ComputeAppPaths(u"C:\\" + std::u16string(400, u'y') + u"\\V.exe");
  EXPECT_EQ(q.program_folder.size(), kMaxPathChars);
  EXPECT_EQ(q.main_skin_file.size(), kMaxPathChars);
}

// Only files the program never writes may be read once for the run: the colour files beside the
// skin, the light switch's file and the settings files must stay out.
TEST(AppPaths, ReadOnlyIniFilesAreTheSkinAndLanguageFilesInFull) {
  const AppPaths p = ComputeAppPaths(u"C:\\Prog\\Vendrel.exe");
  EXPECT_EQ(ReadOnlyIniFiles(p),
            (std::vector<std::u16string>{u"C:\\Prog\\Skins\\Main.ini", u"C:\\Prog\\Skins\\Profile.ini",
                                         u"C:\\Prog\\Skins\\UpdateDlg.ini",
                                         u"C:\\Prog\\Skins\\Composite.ini",
                                         u"C:\\Prog\\Skins\\language.ini"}));

  // Cut paths may name some other file of the folder; "Main.ini" fits, "language.ini" does not.
  const std::u16string folder = u"C:\\" + std::u16string(kMaxPathChars - 3 - 1 - 14 - 1, u'x') + u"\\";
  const AppPaths cut = ComputeAppPaths(folder + u"V.exe");
  const std::vector<std::u16string> files = ReadOnlyIniFiles(cut);
  EXPECT_EQ(std::count(files.begin(), files.end(), cut.main_skin_file), 1);
  EXPECT_EQ(std::count(files.begin(), files.end(), cut.language_file), 0);
  for (const std::u16string& f : files) EXPECT_LT(f.size(), kMaxPathChars);
}

}  // namespace
}  // namespace vendrel::app
