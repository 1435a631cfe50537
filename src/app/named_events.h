#pragma once
// Names of the 208 events the main window creates for programs outside this one.
#include <string>

namespace vendrel::app {

inline constexpr int kNamedEventCount = 208;

// "Orvane_Event_Main_01" .. "Orvane_Event_Main_208" (number at least two digits); number is 1-based.
std::u16string NamedEventName(int number);

}  // namespace vendrel::app
