#pragma once
// The main window's look at each message before dispatch: Enter and Escape never reach the
// dialog manager (the window must not close by keyboard), arrows stay out of the lighting-mode list
// handling while it has focus, and message 0x001E runs Apply.
#include <cstdint>

namespace vendrel::app {

inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kVkReturn = 0x0D;
inline constexpr std::uint32_t kVkEscape = 0x1B;
inline constexpr std::uint32_t kVkLeft = 0x25;
inline constexpr std::uint32_t kVkDown = 0x28;

enum class PreTranslate { Normal, Swallow, RunApply };

PreTranslate ClassifyPreTranslate(std::uint32_t message, std::uintptr_t key,
                                  bool mode_list_has_focus);

}  // namespace vendrel::app
