#include "app/app_paths.h"

namespace vendrel::app {
namespace {

std::u16string Cut(std::u16string text) {
  if (text.size() > kMaxPathChars) text.resize(kMaxPathChars);
  return text;
}

std::size_t LastSeparator(std::u16string_view path) {
  return path.find_last_of(u"\\/");
}

}  // namespace

std::u16string FolderOf(std::u16string_view path) {
  const std::size_t sep = LastSeparator(path);
  if (sep == std::u16string_view::npos) {
    // "C:file" keeps its drive as the folder.
    if (path.size() >= 2 && path[1] == u':') return std::u16string(path.substr(0, 2));
    return {};
  }
  return std::u16string(path.substr(0, sep + 1));
}

AppPaths ComputeAppPaths(std::u16string_view exe_full_path) {
  const std::u16string folder = FolderOf(exe_full_path);
  const std::u16string_view file = exe_full_path.substr(folder.size());

  AppPaths p;
  p.exe_file_name = Cut(std::u16string(file));
  p.program_folder = Cut(folder);
  const std::u16string& f = p.program_folder;
  p.help_folder = Cut(f + u"Help\\");
  p.main_skin_file = Cut(f + u"Skins\\Main.ini");
  p.skin_folder = Cut(FolderOf(p.main_skin_file));
  p.colour_file_prefix = Cut(f + u"Skins\\UserDengColor_");
  p.profile_skin_file = Cut(f + u"Skins\\Profile.ini");
  p.profile_skin_folder = Cut(FolderOf(p.profile_skin_file));
  p.update_skin_file = Cut(f + u"Skins\\UpdateDlg.ini");
  p.update_skin_folder = Cut(FolderOf(p.update_skin_file));
  p.package_folder = Cut(f + u"Package");
  p.composite_skin_file = Cut(f + u"Skins\\Composite.ini");
  p.composite_skin_folder = Cut(FolderOf(p.composite_skin_file));
  p.companion_program = Cut(f + u"Keywarden.exe");
  p.language_file = Cut(f + u"Skins\\language.ini");
  return p;
}

std::vector<std::u16string> ReadOnlyIniFiles(const AppPaths& paths) {
  std::vector<std::u16string> files;
  for (const std::u16string* path : {&paths.main_skin_file, &paths.profile_skin_file,
                                     &paths.update_skin_file, &paths.composite_skin_file,
                                     &paths.language_file}) {
    if (path->size() < kMaxPathChars) files.push_back(*path);
  }
  return files;
}

}  // namespace vendrel::app
