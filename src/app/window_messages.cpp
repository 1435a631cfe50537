#include "app/window_messages.h"

namespace vendrel::app {

PrivateMessage ClassifyPrivateMessage(std::uint32_t message, std::uintptr_t first_param) {
  struct Entry {
    std::uint32_t message;
    bool tagged;
    std::uint32_t tag;
    PrivateMessage meaning;
  };
  static constexpr Entry kTable[] = {
      {kMsgInit, true, kTagInit, PrivateMessage::Init},
      {kMsgOpen, true, kTagOpen, PrivateMessage::Open},
      {kMsgKill, true, kTagKill, PrivateMessage::Kill},
      {kMsgProfile, true, kTagProfile, PrivateMessage::Profile},
      {kMsgLed, true, kTagLed, PrivateMessage::Led},
      {kMsgLighting, true, kTagLighting, PrivateMessage::Lighting},
      {kMsgConnectionQuiet, true, kTagQuiet, PrivateMessage::Quiet},
      {kMsgDetach, false, 0, PrivateMessage::Detach},
      {kMsgPostedApply, false, 0, PrivateMessage::Apply},
  };
  for (const Entry& e : kTable) {
    if (e.message != message) continue;
    if (e.meaning == PrivateMessage::Kill && first_param == kTagKillInOrder) return e.meaning;
    if (e.tagged && first_param != e.tag) return PrivateMessage::None;
    return e.meaning;
  }
  return PrivateMessage::None;
}

}  // namespace vendrel::app
