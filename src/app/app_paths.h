#pragma once
// The program's file locations, all derived once from the running executable's full path.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vendrel::app {

// Every path lives in a 260-character buffer on the Windows side: 259 characters plus terminator.
inline constexpr std::size_t kMaxPathChars = 259;

struct AppPaths {
  std::u16string exe_file_name;      // file name plus extension, no folder
  std::u16string program_folder;     // drive plus directory, with its trailing separator
  std::u16string help_folder;        // program folder + "Help\"
  std::u16string main_skin_file;     // "Skins\Main.ini"
  std::u16string skin_folder;        // folder of the main skin file
  std::u16string colour_file_prefix; // "Skins\UserDengColor_"
  std::u16string profile_skin_file;
  std::u16string profile_skin_folder;
  std::u16string update_skin_file;
  std::u16string update_skin_folder;
  std::u16string package_folder;     // program folder + "Package" (no separator)
  std::u16string composite_skin_file;
  std::u16string composite_skin_folder;
  std::u16string companion_program;  // "Keywarden.exe"
  std::u16string language_file;      // "Skins\language.ini"
};

// The INI files the program reads and never writes: the skin files of its windows and the
// language file. A path cut to kMaxPathChars is left out, since it may name another file.
std::vector<std::u16string> ReadOnlyIniFiles(const AppPaths& paths);

// Splits like the platform's path splitter: both '\' and '/' separate folders, a leading "X:" is
// the drive. Each result is cut to kMaxPathChars.
AppPaths ComputeAppPaths(std::u16string_view exe_full_path);

// The folder part (up to and including the last separator) of a path; empty when it has none.
std::u16string FolderOf(std::u16string_view path);

}  // namespace vendrel::app
