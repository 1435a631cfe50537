#include "device/macro_indicator.h"

namespace vendrel::device {

MacroIndicator::MacroIndicator(ConnectionEvents& events, platform::Sleeper& sleeper,
                               std::chrono::milliseconds hold)
    : events_(events), sleeper_(sleeper), hold_(hold) {}

MacroIndicator::~MacroIndicator() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void MacroIndicator::Post(bool playing) {
  {
    std::lock_guard lock(mutex_);
    if (waiting_.size() >= kMaxWaiting) waiting_.pop_front();
    waiting_.push_back(playing);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_one();
}

void MacroIndicator::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return stopping_ || (!busy_ && waiting_.empty()); });
}

bool MacroIndicator::Idle() const {
  std::lock_guard lock(mutex_);
  return !busy_ && waiting_.empty();
}

void MacroIndicator::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) break;
    const bool playing = waiting_.front();
    waiting_.pop_front();
    busy_ = true;
    lock.unlock();

    if (playing) {
      events_.MacroStarted();
    } else {
      events_.MacroEnded();
    }
    sleeper_.Sleep(hold_);

    lock.lock();
    busy_ = false;
    if (waiting_.empty()) idle_.notify_all();
  }
  busy_ = false;
  idle_.notify_all();
}

}  // namespace vendrel::device
