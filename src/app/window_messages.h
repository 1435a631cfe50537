#pragma once
// The program's private window messages and the tags that must accompany them. A message whose
// first parameter does not carry the expected tag is a stray and is ignored.
#include <cstdint>

#include "codec/four_char_tag.h"

namespace vendrel::app {

using codec::FourCharTag;

inline constexpr std::uint32_t kMsgInit = 0x4D4E;
inline constexpr std::uint32_t kMsgOpen = 0x5350;
inline constexpr std::uint32_t kMsgKill = 0x4D4B;
inline constexpr std::uint32_t kMsgProfile = 0x5452;  // a keyboard came: refresh from it
inline constexpr std::uint32_t kMsgDetach = 0x4753;   // the keyboard went: child dialogs close
inline constexpr std::uint32_t kMsgLed = 0x5045;      // the bank key was pressed
// The keyboard changed its lighting itself. Posted from the library's thread so that the main
// thread, which owns the window, starts the lighting timer.
inline constexpr std::uint32_t kMsgLighting = 0x4C47;
// The connection worker has handled every plug and unplug reported so far and the keyboard is
// attached. Posted: the window tells then what the last connect refresh left to tell.
inline constexpr std::uint32_t kMsgConnectionQuiet = 0x5154;
inline constexpr std::uint32_t kMsgPostedApply = 0x001E;
inline constexpr std::uint32_t kMsgTrayCallback = 0x06BD;

inline constexpr std::uint32_t kTagInit = FourCharTag("INIT");
inline constexpr std::uint32_t kTagOpen = FourCharTag("OPEN");
// The close request's documented wire value has the characters of "KILL" in reverse order; the
// receiver also accepts the value built like the other tags, so both forms close the program.
inline constexpr std::uint32_t kTagKill = 0x4C4C494B;
inline constexpr std::uint32_t kTagKillInOrder = FourCharTag("KILL");
inline constexpr std::uint32_t kTagProfile = FourCharTag("PROF");
inline constexpr std::uint32_t kTagLed = FourCharTag("LED");
inline constexpr std::uint32_t kTagLighting = FourCharTag("LGHT");
inline constexpr std::uint32_t kTagQuiet = FourCharTag("CALM");
inline constexpr std::uint32_t kTagMain = FourCharTag("MAIN");  // the main window's user data

// What a private message asks of the main window, after its tag was checked.
enum class PrivateMessage { None, Init, Open, Kill, Profile, Detach, Led, Lighting, Quiet, Apply };

PrivateMessage ClassifyPrivateMessage(std::uint32_t message, std::uintptr_t first_param);

}  // namespace vendrel::app
