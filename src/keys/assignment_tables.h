#pragma once
// The media functions and keyboard functions that Media and Function assignments index.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "keys/key_table.h"
#include "texts/text_table.h"

namespace vendrel::keys {

struct MediaFunction {
  texts::TextKey name;  // its language text
  KeyCode code;        // the key row named by that text
  std::uint16_t consumer_usage;
};

inline constexpr std::size_t kMediaCount = 18;
inline constexpr std::array<MediaFunction, kMediaCount> kMediaTable = {{
    {texts::TextKey::MEDIA_PALYER_1, 0x16D, 0x0183},
    {texts::TextKey::MEDIA_PALY_PAUSE_2, 0x122, 0x00CD},
    {texts::TextKey::MEDIA_STOP_PALY_3, 0x124, 0x00B7},
    {texts::TextKey::MEDIA_PREV_TRACK_4, 0x110, 0x00B6},
    {texts::TextKey::MEDIA_Next_TRACK_5, 0x119, 0x00B5},
    {texts::TextKey::MEDIA_V_LOW_6, 0x12E, 0x00EA},
    {texts::TextKey::MEDIA_V_ADD_7, 0x130, 0x00E9},
    {texts::TextKey::MEDIA_MUTE_8, 0x120, 0x00E2},
    {texts::TextKey::MEDIA_WWW_HOME_9, 0x132, 0x0223},
    {texts::TextKey::MEDIA_WWW_REFRESH_10, 0x167, 0x0227},
    {texts::TextKey::MEDIA_WWW_STOP_11, 0x168, 0x0226},
    {texts::TextKey::MEDIA_WWW_BACK_12, 0x16A, 0x0224},
    {texts::TextKey::MEDIA_WWW_FORWARD_13, 0x169, 0x0225},
    {texts::TextKey::MEDIA_WWW_FAVORITE_14, 0x166, 0x022A},
    {texts::TextKey::MEDIA_WWW_SEARCH_15, 0x165, 0x0221},
    {texts::TextKey::MEDIA_MY_PC_16, 0x16B, 0x0194},
    {texts::TextKey::MEDIA_CALC_17, 0x121, 0x0192},
    {texts::TextKey::MEDIA_MAIL_18, 0x16C, 0x018A},
}};

inline constexpr std::size_t kFunctionCount = 11;
inline constexpr std::array<texts::TextKey, kFunctionCount> kFunctionTable = {
    texts::TextKey::FUNC_KEY_DESC1, texts::TextKey::FUNC_KEY_DESC2, texts::TextKey::FUNC_KEY_DESC3,
    texts::TextKey::FUNC_KEY_DESC4, texts::TextKey::FUNC_KEY_DESC5, texts::TextKey::FUNC_KEY_DESC6,
    texts::TextKey::FUNC_KEY_DESC7, texts::TextKey::FUNC_KEY_DESC8, texts::TextKey::FUNC_KEY_DESC9,
    texts::TextKey::FUNC_KEY_DESC10, texts::TextKey::FUNC_KEY_DESC11};

// The first media index whose usage is consumer_usage, or nothing.
std::optional<std::size_t> MediaIndexOfUsage(std::uint16_t consumer_usage);

}  // namespace vendrel::keys
