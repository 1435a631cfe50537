#include "skin/image_set.h"

namespace vendrel::skin {
namespace {

constexpr std::array<SetPictureFiles, kImageSetCount> kFiles{{
    {u"key_normal.jpg", u"key_over.jpg", u"key_down.jpg", u"key_normal.jpg"},
    {u"macro_normal.jpg", u"macro_over.jpg", u"macro_down.jpg", u"macro_disable.jpg"},
    {u"macro2_normal.jpg", u"macro2_over.jpg", u"macro2_down.jpg", u"macro2_disable.jpg"},
    {u"media_normal.jpg", u"media_over.jpg", u"media_down.jpg", u"media_normal.jpg"},
    {u"function_normal.jpg", u"function_over.jpg", u"function_down.jpg", u"function_normal.jpg"},
}};

}  // namespace

const SetPictureFiles& ImageSetFiles(ImageSet set) {
  const auto index = static_cast<std::size_t>(set);
  return kFiles[index < kFiles.size() ? index : 0];
}

SetPicture SetPictureForSlot(ButtonSlot slot) {
  switch (slot) {
    case ButtonSlot::Hover: return SetPicture::Over;
    case ButtonSlot::Pressed:
    case ButtonSlot::Selected: return SetPicture::Down;
    case ButtonSlot::Disabled: return SetPicture::Disable;
    case ButtonSlot::Normal: break;
  }
  return SetPicture::Normal;
}

}  // namespace vendrel::skin
