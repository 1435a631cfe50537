#include "skin/image_set.h"

#include <gtest/gtest.h>

#include <string>

namespace vendrel::skin {
namespace {

TEST(SetPictureForSlot, SelectedLooksPressedAndEachOtherSlotHasItsOwnPicture) {
  struct Case {
    ButtonSlot slot;
    SetPicture picture;
  };
  const Case cases[] = {
      {ButtonSlot::Normal, SetPicture::Normal},   {ButtonSlot::Hover, SetPicture::Over},
      {ButtonSlot::Pressed, SetPicture::Down},    {ButtonSlot::Disabled, SetPicture::Disable},
      {ButtonSlot::Selected, SetPicture::Down},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetPictureForSlot(c.slot), c.picture) << static_cast<int>(c.slot);
  }
}

// Each set's files are "<set>_<state>.jpg"; a set without its own disabled picture shows the
// normal one there.
TEST(ImageSetFiles, EachStateHasItsPictureAndMissingDisabledOnesFallBackToNormal) {
  struct Case {
    ImageSet set;
    std::u16string prefix;
    bool own_disabled;
  };
  const Case cases[] = {
      {ImageSet::Key, u"key", false},     {ImageSet::Macro, u"macro", true},
      {ImageSet::Macro2, u"macro2", true}, {ImageSet::Media, u"media", false},
      {ImageSet::Function, u"function", false},
  };
  for (const Case& c : cases) {
    const SetPictureFiles& files = ImageSetFiles(c.set);
    const auto at = [&](SetPicture p) {
      return std::u16string(files[static_cast<std::size_t>(p)]);
    };
    EXPECT_EQ(at(SetPicture::Normal), c.prefix + u"_normal.jpg");
    EXPECT_EQ(at(SetPicture::Over), c.prefix + u"_over.jpg");
    EXPECT_EQ(at(SetPicture::Down), c.prefix + u"_down.jpg");
    const std::u16string disabled = c.own_disabled ? u"_disable.jpg" : u"_normal.jpg";
    EXPECT_EQ(at(SetPicture::Disable), c.prefix + disabled);
  }
}

TEST(ImageSetFiles, AValueOutsideTheSetsGivesTheFirstSet) {
  EXPECT_EQ(&ImageSetFiles(static_cast<ImageSet>(99)), &ImageSetFiles(ImageSet::Key));
}

}  // namespace
}  // namespace vendrel::skin
