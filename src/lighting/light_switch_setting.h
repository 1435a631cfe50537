#pragma once
// The light switch's persistent state: key DengCheck of section KEYCOLOR in the per-user file
// <documents>\Orvane_05D\wskb.ini, "1" on and "0" off. The program never creates the folder:
// existing installations keep their file there, and without the folder every read gives off and
// every write is lost, so the switch then starts off each run.
#include <string>

#include "platform/ini_profile.h"

namespace vendrel::lighting {

inline constexpr char16_t kLightSwitchFolder[] = u"Orvane_05D";
inline constexpr char16_t kLightSwitchFile[] = u"wskb.ini";

// <documents><sep>Orvane_05D<sep>wskb.ini; empty when the documents folder is unknown.
std::u16string LightSwitchFilePath(const std::u16string& documents_folder);

class LightSwitchSetting {
 public:
  // ini must outlive this object. An empty path reads off and ignores writes.
  LightSwitchSetting(platform::IniProfile& ini, std::u16string path);

  bool Read() const;      // DengCheck parses as 1
  void Write(bool on);    // result ignored: a lost write only costs the next start its state

 private:
  platform::IniProfile& ini_;
  std::u16string path_;
};

}  // namespace vendrel::lighting
