#include "app/transfer_message_policy.h"

#include "app/main_window_commands.h"
#include "app/window_messages.h"

namespace vendrel::app {
namespace {

constexpr std::uint32_t kWmPaint = 0x000F;
constexpr std::uint32_t kWmSyncPaint = 0x0088;
constexpr std::uint32_t kWmNcMouseFirst = 0x00A0;  // WM_NCMOUSEMOVE
constexpr std::uint32_t kWmNcMouseLast = 0x00AD;   // WM_NCXBUTTONDBLCLK
constexpr std::uint32_t kWmInput = 0x00FF;
constexpr std::uint32_t kWmKeyFirst = 0x0100;
constexpr std::uint32_t kWmKeyLast = 0x0109;
constexpr std::uint32_t kWmTimer = 0x0113;
constexpr std::uint32_t kWmMouseFirst = 0x0200;
constexpr std::uint32_t kWmMouseLast = 0x020E;
constexpr std::uint32_t kWmMouseHover = 0x02A1;
constexpr std::uint32_t kWmMouseLeave = 0x02A3;
constexpr std::uint32_t kWmNcMouseHover = 0x02A0;
constexpr std::uint32_t kWmNcMouseLeave = 0x02A2;

bool IsInput(std::uint32_t m) {
  return (m >= kWmNcMouseFirst && m <= kWmNcMouseLast) || m == kWmInput ||
         (m >= kWmKeyFirst && m <= kWmKeyLast) || (m >= kWmMouseFirst && m <= kWmMouseLast) ||
         (m >= kWmNcMouseHover && m <= kWmMouseLeave);
}

}  // namespace

DuringTransfer ClassifyDuringTransfer(std::uint32_t message, std::uintptr_t first_param,
                                      bool to_main_window) {
  if (IsInput(message)) return DuringTransfer::Drop;
  if (message == kWmPaint || message == kWmSyncPaint) return DuringTransfer::Dispatch;
  if (message == kMsgBusyStarted || message == kMsgBusyStopped) return DuringTransfer::Dispatch;
  if (message == kWmTimer) {
    if (!to_main_window || first_param == static_cast<std::uintptr_t>(kTimerBusy)) {
      return DuringTransfer::Dispatch;
    }
    return DuringTransfer::Pause;  // the lighting re-read would talk to the keyboard meanwhile
  }
  return DuringTransfer::Defer;
}

bool SupersedesKept(std::uint32_t later, std::uintptr_t later_param, std::uint32_t earlier,
                    std::uintptr_t earlier_param) {
  const PrivateMessage now = ClassifyPrivateMessage(later, later_param);
  const PrivateMessage before = ClassifyPrivateMessage(earlier, earlier_param);
  switch (before) {
    case PrivateMessage::Profile: return now == PrivateMessage::Profile || now == PrivateMessage::Detach;
    case PrivateMessage::Detach: return now == PrivateMessage::Detach;
    case PrivateMessage::Quiet: return now == PrivateMessage::Quiet;
    default: return false;
  }
}

}  // namespace vendrel::app
