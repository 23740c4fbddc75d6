#pragma once
// One direction of conversion as a machine fed one character at a time.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "convert/converter.h"

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

  void Put(char32_t c) {
    if (c < 0x80) {
      buffer_[size_++] = static_cast<char>(c);
    } else if (c < 0x800) {
      buffer_[size_++] = static_cast<char>(0xC0 | (c >> 6));
      buffer_[size_++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      buffer_[size_++] = static_cast<char>(0xE0 | (c >> 12));
      buffer_[size_++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      buffer_[size_++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      buffer_[size_++] = static_cast<char>(0xF0 | (c >> 18));
      buffer_[size_++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      buffer_[size_++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      buffer_[size_++] = static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  std::size_t size() const { return size_; }
  void Truncate(std::size_t size) { size_ = size; }

 private:
  static constexpr std::size_t kRoom = 1024;
  std::string& target_;
  char buffer_[16384];
  std::size_t size_ = 0;
};

class Machine {
 public:
  virtual ~Machine() = default;
  // Writes what the character settles; false when it has no equivalent and
  // passes through as it came.
  virtual bool Push(char32_t c, Sink& out) = 0;
  // Writes whatever is still held: the syllable in progress.
  virtual void Finish(Sink& out) = 0;
};

std::unique_ptr<Machine> MakeToUnicode(const Options& options);
std::unique_ptr<Machine> MakeToLegacy(const Options& options);

}  // namespace lk::convert
