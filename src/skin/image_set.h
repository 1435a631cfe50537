#pragma once
// The key-setting dialog's image sets: four full-window pictures each (normal, pointer over,
// pressed, disabled), from which a button cuts the rectangle under itself, as the main window's
// buttons do from its state sheets. A set without a disabled picture names its normal one again.
#include <array>
#include <cstddef>
#include <string_view>

#include "skin/state_sheet.h"

namespace vendrel::skin {

enum class ImageSet { Key, Macro, Macro2, Media, Function };
inline constexpr std::size_t kImageSetCount = 5;

enum class SetPicture { Normal = 0, Over = 1, Down = 2, Disable = 3 };
inline constexpr std::size_t kSetPictureCount = 4;

using SetPictureFiles = std::array<std::u16string_view, kSetPictureCount>;

// The picture files of a set, relative to the skin folder, in SetPicture order.
const SetPictureFiles& ImageSetFiles(ImageSet set);

// The picture that fills a button slot. The selected look is the pressed picture: the active
// tab's button shows itself pressed.
SetPicture SetPictureForSlot(ButtonSlot slot);

}  // namespace vendrel::skin
