#include "lighting/mode_table.h"

namespace vendrel::lighting {
namespace {

constexpr DirectionLayout kNoDir = DirectionLayout::None;
constexpr DirectionLayout kSet1 = DirectionLayout::Set1;
constexpr DirectionLayout kSet2 = DirectionLayout::Set2;
constexpr DirectionLayout kSet3 = DirectionLayout::Set3;
constexpr ColourGroup kNoColour = ColourGroup::None;
constexpr ColourGroup kGroupA = ColourGroup::A;
constexpr ColourGroup kGroupB = ColourGroup::B;

// mode, speed, direction, colour, colour choice, per-key, writes multicolour
constexpr ModeTraits kModes[] = {
    {1, true, kSet2, kGroupB, false, false, true},
    {2, true, kSet2, kGroupB, false, false, true},
    {3, true, kSet2, kGroupB, false, false, true},
    {4, true, kNoDir, kNoColour, false, false, false},
    {5, true, kNoDir, kGroupB, false, false, true},
    {6, false, kNoDir, kGroupA, false, false, false},
    {7, true, kNoDir, kGroupB, false, false, true},
    {8, true, kNoDir, kGroupB, false, false, true},
    {9, true, kNoDir, kGroupB, false, false, true},
    // Shows colour group B but its selection leaves the keyboard's multicolour alone.
    {10, true, kNoDir, kGroupB, false, false, false},
    {11, true, kNoDir, kNoColour, false, false, false},
    {12, true, kSet3, kNoColour, false, false, false},
    {13, true, kNoDir, kGroupB, false, false, true},
    {14, true, kNoDir, kGroupB, false, false, true},
    {15, true, kNoDir, kGroupB, false, false, true},
    {16, false, kNoDir, kGroupA, false, false, false},
    {17, false, kNoDir, kNoColour, true, false, false},
    {18, false, kSet1, kNoColour, false, false, false},
    {kModePerKey, false, kNoDir, kNoColour, false, true, false},
};

}  // namespace

std::optional<ModeTraits> TraitsOf(int mode) {
  for (const ModeTraits& t : kModes) {
    if (t.mode == mode) return t;
  }
  return std::nullopt;
}

}  // namespace vendrel::lighting
