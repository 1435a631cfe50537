#pragma once
// The tray icon images, by what they stand for; their numbers are the resource script's icons.
#include "app/resource_ids.h"

namespace vendrel::app {

inline constexpr int kIconDisconnected = IDI_DISCONNECTED;
inline constexpr int kIconConnected = IDI_CONNECTED;
inline constexpr int kIconMacroPlaying = IDI_MACRO_PLAYING;

}  // namespace vendrel::app
