#pragma once
// The lighting modes the program knows: which parameters each uses and which fields selecting it
// writes. Mode numbers outside the table (19, above 20) are never written.
#include <optional>

namespace vendrel::lighting {

inline constexpr int kModeDefault = 18;  // what "restore defaults" selects
inline constexpr int kModePerKey = 20;   // every key in its own colour

// Which skin keys place the direction label and its two images (BUTTONINFO of Main.ini).
enum class DirectionLayout { None, Set1, Set2, Set3 };
// The two panel groups that edit colour and multicolour.
enum class ColourGroup { None, A, B };

struct ModeTraits {
  int mode = 0;
  bool speed = false;
  DirectionLayout direction = DirectionLayout::None;
  ColourGroup colour = ColourGroup::None;
  bool colour_choice = false;
  bool per_key = false;
  bool writes_multicolour = false;  // selecting it writes field 4 after field 0
};

// The traits of a mode of the table; nothing for any other number.
std::optional<ModeTraits> TraitsOf(int mode);

}  // namespace vendrel::lighting
