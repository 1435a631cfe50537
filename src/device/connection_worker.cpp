#include "device/connection_worker.h"

namespace vendrel::device {

ConnectionWorker::ConnectionWorker(Connection& connection)
    : connection_(connection), thread_([this] { Run(); }) {}

ConnectionWorker::~ConnectionWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void ConnectionWorker::Post(int count) {
  {
    std::lock_guard lock(mutex_);
    latest_count_ = count;
    if (count <= 0) detach_seen_ = true;
    ++posted_;
  }
  wake_.notify_one();
}

bool ConnectionWorker::IdleLocked() const {
  return stopping_ || (!busy_ && !latest_count_.has_value());
}

void ConnectionWorker::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return IdleLocked(); });
}

bool ConnectionWorker::WaitIdleFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, timeout, [this] { return IdleLocked(); });
}

int ConnectionWorker::Posted() const {
  std::lock_guard lock(mutex_);
  return posted_;
}

int ConnectionWorker::Handled() const {
  std::lock_guard lock(mutex_);
  return handled_;
}

void ConnectionWorker::Run() {
  const auto stopping = [this] {
    std::lock_guard lock(mutex_);
    return stopping_;
  };
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || latest_count_.has_value(); });
    if (stopping_) break;
    const ConnectionChange change{*latest_count_, detach_seen_};
    latest_count_.reset();
    detach_seen_ = false;
    busy_ = true;
    lock.unlock();

    connection_.Handle(change, stopping);

    lock.lock();
    // Still busy while it reports, so that a wait for idleness sees the report made.
    if (!latest_count_.has_value() && !stopping_) {
      lock.unlock();
      connection_.ReportQuiet();
      lock.lock();
    }
    busy_ = false;
    ++handled_;
    if (!latest_count_.has_value()) idle_.notify_all();
  }
  busy_ = false;
  idle_.notify_all();
}

}  // namespace vendrel::device
