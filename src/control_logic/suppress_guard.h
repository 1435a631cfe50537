#pragma once
// Change notifications a control sends while its owner changes it are not the user's: a
// SuppressCount is held while the owner makes such changes, and notifications that arrive then
// are dropped. Scopes nest; the count is back to quiet only when the outermost one ends.
namespace vendrel::control_logic {

class SuppressCount {
 public:
  class Scope {
   public:
    explicit Scope(SuppressCount& count) : count_(&count) { ++count_->depth_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope() { --count_->depth_; }

   private:
    SuppressCount* count_;
  };

  [[nodiscard]] Scope Hold() { return Scope(*this); }
  bool Suppressed() const { return depth_ > 0; }

 private:
  int depth_ = 0;
};

}  // namespace vendrel::control_logic
