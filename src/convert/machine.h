#pragma once
// One direction of conversion as a machine fed one character at a time.
#include <memory>
#include <string>

#include "convert/converter.h"

namespace lk::convert {

class Machine {
 public:
  virtual ~Machine() = default;
  // Appends what the character settles; false when it has no equivalent and
  // passes through as it came.
  virtual bool Push(char32_t c, std::string& out) = 0;
  // Appends whatever is still held: the syllable in progress.
  virtual void Finish(std::string& out) = 0;
};

std::unique_ptr<Machine> MakeToUnicode(const Options& options);
std::unique_ptr<Machine> MakeToLegacy(const Options& options);

}  // namespace lk::convert
