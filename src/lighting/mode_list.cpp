#include "lighting/mode_list.h"

#include <string>

#include "texts/language_file.h"

namespace vendrel::lighting {
namespace {

constexpr char16_t kHiddenName[] = u"1";
constexpr char16_t kSectionLanguage0[] = u"Mode";
constexpr char16_t kSectionLanguage1[] = u"Mode1";
constexpr int kLanguageSecond = 1;
constexpr std::uint32_t kNameCapacity = 260;  // a path-sized buffer, as for every skin value

}  // namespace

bool IsOfferedName(const std::u16string& name) {
  return name != kHiddenName && texts::LeadingInteger(name) != 1;
}

std::vector<ModeEntry> BuildModeList(const SupportedModes& supported, const ModeNameLookup& names) {
  std::vector<ModeEntry> entries;
  for (const std::uint8_t mode : supported) {
    if (mode == 0) continue;  // an empty slot
    std::u16string name = names ? names(mode) : std::u16string(kHiddenName);
    if (!IsOfferedName(name)) continue;
    entries.push_back({static_cast<int>(entries.size()), mode, std::move(name)});
  }
  return entries;
}

std::u16string SkinModeName(const platform::IniProfile& ini, const std::u16string& main_skin_file,
                            int language, int mode) {
  const std::u16string section = language == kLanguageSecond ? kSectionLanguage1 : kSectionLanguage0;
  const std::u16string key = [mode] {
    const std::string digits = std::to_string(mode);
    return std::u16string(digits.begin(), digits.end());
  }();
  return platform::ReadProfileString(ini, section, key, kHiddenName, kNameCapacity, main_skin_file);
}

}  // namespace vendrel::lighting
