#include "app/named_events.h"

namespace vendrel::app {

std::u16string NamedEventName(int number) {
  std::u16string name = u"Orvane_Event_Main_";
  std::u16string digits;
  unsigned value = number < 0 ? 0u : static_cast<unsigned>(number);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  if (digits.size() < 2) digits.insert(digits.begin(), u'0');
  return name + digits;
}

}  // namespace vendrel::app
