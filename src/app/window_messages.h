#pragma once
// The program's private window messages and the tags that must accompany them. A message whose
// first parameter does not carry the expected tag is a stray and is ignored.
#include <cstdint>

#include "app/four_char_tag.h"
#include "device/host_window.h"

namespace vendrel::app {

inline constexpr std::uint32_t kMsgInit = 0x4D4E;
inline constexpr std::uint32_t kMsgOpen = device::kMsgOpen;
inline constexpr std::uint32_t kMsgKill = 0x4D4B;
inline constexpr std::uint32_t kMsgProfile = device::kMsgProfileRefresh;
inline constexpr std::uint32_t kMsgDetach = device::kMsgCloseChildren;
inline constexpr std::uint32_t kMsgLed = device::kMsgBankChanged;
inline constexpr std::uint32_t kMsgPostedApply = 0x001E;
inline constexpr std::uint32_t kMsgTrayCallback = 0x06BD;

inline constexpr std::uint32_t kTagInit = FourCharTag("INIT");
inline constexpr std::uint32_t kTagOpen = device::kTagOpen;
// The close request's documented wire value has the characters of "KILL" in reverse order; the
// receiver also accepts the value built like the other tags, so both forms close the program.
inline constexpr std::uint32_t kTagKill = 0x4C4C494B;
inline constexpr std::uint32_t kTagKillInOrder = FourCharTag("KILL");
inline constexpr std::uint32_t kTagProfile = device::kTagProf;
inline constexpr std::uint32_t kTagLed = device::kTagLed;
inline constexpr std::uint32_t kTagMain = FourCharTag("MAIN");  // the main window's user data

// What a private message asks of the main window, after its tag was checked.
enum class PrivateMessage { None, Init, Open, Kill, Profile, Detach, Led, Apply };

PrivateMessage ClassifyPrivateMessage(std::uint32_t message, std::uintptr_t first_param);

}  // namespace vendrel::app
