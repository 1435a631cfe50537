#include "app/win32/named_event_set.h"

#include "app/named_events.h"

namespace vendrel::app {

void NamedEventSet::CreateAll() {
  events_.clear();
  for (int n = 1; n <= kNamedEventCount; ++n) {
    const std::wstring name = controls::WideFrom(NamedEventName(n));
    events_.emplace_back(::CreateEventW(nullptr, FALSE, FALSE, name.c_str()));
  }
}

}  // namespace vendrel::app
