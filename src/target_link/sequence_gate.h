#pragma once
// One target sequence at a time: the waits inside a sequence handle messages,
// and a second click handled there would run a nested sequence on the same
// clipboard. Such clicks are held back instead.
#include <optional>

namespace lk::target_link {

class SequenceGate {
 public:
  class Pass {
   public:
    explicit Pass(SequenceGate& gate) : gate_(&gate) { gate.running_ = true; }
    Pass(Pass&& other) noexcept : gate_(other.gate_) { other.gate_ = nullptr; }
    Pass& operator=(Pass&&) = delete;
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;
    ~Pass() {
      if (gate_) gate_->running_ = false;
    }

   private:
    SequenceGate* gate_;
  };

  // Nothing while a sequence runs: the caller drops the click.
  std::optional<Pass> TryEnter() {
    if (running_) return std::nullopt;
    return std::optional<Pass>(std::in_place, *this);
  }
  bool running() const { return running_; }

 private:
  bool running_ = false;
};

}  // namespace lk::target_link
