#include "controls/pointer_tracking.h"

namespace vendrel::controls {

void StopPointerTracking() {
  TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
  if (!::TrackMouseEvent(&query) || query.hwndTrack == nullptr) return;
  TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | (query.dwFlags & (TME_LEAVE | TME_HOVER)),
                         query.hwndTrack, 0};
  ::TrackMouseEvent(&cancel);
}

}  // namespace vendrel::controls
