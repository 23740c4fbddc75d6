#pragma once
// One direction of conversion as a machine fed one character at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "convert/converter.h"
#include "text/utf8.h"

namespace lk::convert {

// Output gathered in a fixed buffer and handed over in large pieces: text
// is written a byte or three at a time, and that must not cost a string
// operation each.
class Sink {
 public:
  explicit Sink(std::string& target) : target_(target) {}
  ~Sink() { Drain(); }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;

  // Called before each character: what one character settles always fits
  // in the room left.
  void MakeRoom() {
    if (size_ > sizeof(buffer_) - kRoom) Drain();
  }
  void Drain() {
    target_.append(buffer_, size_);
    size_ = 0;
  }

  void Put(char32_t c) { size_ += text::EncodeUtf8(c, buffer_ + size_); }

  std::size_t size() const { return size_; }
  void Truncate(std::size_t size) { size_ = size; }

 private:
  static constexpr std::size_t kRoom = 1024;
  std::string& target_;
  char buffer_[16384];
  std::size_t size_ = 0;
};

// Counts characters without an equivalent and keeps the place of the first.
struct Tally {
  Unconverted unconverted;
  std::uint64_t line = 1;
  std::uint64_t column = 0;

  void Note(char32_t c, bool converted) {
    ++column;
    if (!converted) {
      if (unconverted.count == 0) {
        unconverted.line = line;
        unconverted.column = column;
      }
      ++unconverted.count;
    }
    if (c == '\n') {
      ++line;
      column = 0;
    }
  }
};

class Machine {
 public:
  virtual ~Machine() = default;
  virtual void Run(std::u32string_view characters, Sink& out, Tally& tally) = 0;
  // Writes whatever is still held: the syllable in progress.
  virtual void Finish(Sink& out) = 0;
};

// Runs a direction's Push over a stretch of characters with one virtual call
// for the stretch, not one per character.
template <typename Direction>
class MachineOf : public Machine {
 public:
  void Run(std::u32string_view characters, Sink& out, Tally& tally) final {
    auto& self = static_cast<Direction&>(*this);
    for (char32_t c : characters) {
      out.MakeRoom();
      // Push writes what the character settles and answers false when it
      // has no equivalent and passed through as it came.
      tally.Note(c, self.Push(c, out));
    }
  }
};

std::unique_ptr<Machine> MakeToUnicode(const Options& options);
std::unique_ptr<Machine> MakeToLegacy(const Options& options);

}  // namespace lk::convert
