#pragma once
// Resource ids of the icons the tray and the window show for the keyboard's state.
namespace vendrel::app {

inline constexpr int kIconDisconnected = 128;
inline constexpr int kIconConnected = 141;
inline constexpr int kIconMacroPlaying = 142;

}  // namespace vendrel::app
