#pragma once
// Where a slider's position lies: from the pointer's x across the slider's width, and after a
// key. The slider has no thumb of its own (its picture shows the position), so the whole width
// maps onto the range, the left pixel to the minimum and the right one to the maximum.
namespace vendrel::control_logic {

// The positions a slider may take, both ends included. A maximum below the minimum leaves the
// minimum only.
struct SliderRange {
  int min = 0;
  int max = 0;
};

// The position under x on a slider `width` pixels wide: round(x / (width - 1) * (max - min)) + min,
// halves rounding up, clamped to the range; pointers left or right of the slider give its ends.
// A slider one pixel wide or less is always at its minimum.
int SliderPositionAt(int x, int width, SliderRange range);

// The position clamped to the range.
int ClampToRange(int position, SliderRange range);

// The keys a slider answers. Left/Down step towards the minimum and Right/Up towards the maximum,
// as do PageDown and PageUp by a page; Home and End go to the ends.
enum class SliderKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// The position after a key; a page below 1 counts as 1. Clamped to the range, without wrapping
// however large the page or the range.
int SliderPositionAfterKey(SliderKey key, int position, SliderRange range, int page);

}  // namespace vendrel::control_logic
