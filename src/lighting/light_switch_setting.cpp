#include "lighting/light_switch_setting.h"

#include <utility>

#include "platform/file_system.h"
#include "texts/language_file.h"

namespace vendrel::lighting {
namespace {

constexpr char16_t kSection[] = u"KEYCOLOR";
constexpr char16_t kKey[] = u"DengCheck";
constexpr char16_t kOff[] = u"0";
constexpr char16_t kOn[] = u"1";
constexpr std::uint32_t kValueCapacity = 260;

}  // namespace

std::u16string LightSwitchFilePath(const std::u16string& documents_folder) {
  if (documents_folder.empty()) return {};
  return platform::JoinPath(platform::JoinPath(documents_folder, kLightSwitchFolder),
                            kLightSwitchFile);
}

LightSwitchSetting::LightSwitchSetting(platform::IniProfile& ini, std::u16string path)
    : ini_(ini), path_(std::move(path)) {}

bool LightSwitchSetting::Read() const {
  if (path_.empty()) return false;
  const std::u16string value =
      platform::ReadProfileString(ini_, kSection, kKey, kOff, kValueCapacity, path_);
  return texts::LeadingInteger(value) == 1;
}

void LightSwitchSetting::Write(bool on) {
  if (path_.empty()) return;
  ini_.WriteString(kSection, kKey, on ? kOn : kOff, path_.c_str());
}

}  // namespace vendrel::lighting
