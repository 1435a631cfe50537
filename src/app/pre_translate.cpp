#include "app/pre_translate.h"

#include "app/window_messages.h"

namespace vendrel::app {

PreTranslate ClassifyPreTranslate(std::uint32_t message, std::uintptr_t key,
                                  bool mode_list_has_focus) {
  if (message == kMsgPostedApply) return PreTranslate::RunApply;
  if (message != kWmKeyDown && message != kWmKeyUp) return PreTranslate::Normal;
  if (key == kVkReturn || key == kVkEscape) return PreTranslate::Swallow;
  if (mode_list_has_focus && key >= kVkLeft && key <= kVkDown) return PreTranslate::Swallow;
  return PreTranslate::Normal;
}

}  // namespace vendrel::app
