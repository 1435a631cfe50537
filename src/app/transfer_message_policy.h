#pragma once
// What the window thread does with each message while Apply's transfer runs on the worker. The
// window keeps painting and animating the busy picture; the user's input is thrown away, so nothing
// reaches the settings while the keyboard is written; everything else (device events, tray and
// menu commands, the program's private messages) waits until the transfer is over, in its order.
#include <cstdint>
#include <vector>

namespace vendrel::app {

enum class DuringTransfer {
  Dispatch,  // paint, the busy timer, the busy worker's notices, other windows' own timers
  Drop,      // keyboard and mouse input
  Pause,     // one of the main window's other timers: stopped, and started again afterwards
  Defer,     // kept and handled after the transfer
};

// message with its first parameter (the timer id of a timer message); to_main_window: the message
// is for the main window itself rather than one of its controls or another window of the thread.
DuringTransfer ClassifyDuringTransfer(std::uint32_t message, std::uintptr_t first_param,
                                      bool to_main_window);

// Whether a message kept for after the transfer makes an earlier kept one pointless, so that a
// plug storm during a write leaves one unplug and one connect refresh to handle, not hundreds: a
// later plug or unplug supersedes a connect refresh not yet run (the last refresh reads what is
// there by then), a later unplug an earlier one, a later quiet connection an earlier one. An unplug
// is never superseded by a plug: its child dialogs must still close before the refresh.
bool SupersedesKept(std::uint32_t later, std::uintptr_t later_param, std::uint32_t earlier,
                    std::uintptr_t earlier_param);

// Adds msg to the messages kept for after the transfer (in their order of arrival), first dropping
// the kept ones of the same window that it supersedes. Message is any type with the members hwnd,
// message and wParam (the window thread's MSG).
template <typename Message>
void KeepForAfterTransfer(std::vector<Message>& kept, const Message& msg) {
  std::erase_if(kept, [&msg](const Message& earlier) {
    return earlier.hwnd == msg.hwnd &&
           SupersedesKept(msg.message, msg.wParam, earlier.message, earlier.wParam);
  });
  kept.push_back(msg);
}

}  // namespace vendrel::app
