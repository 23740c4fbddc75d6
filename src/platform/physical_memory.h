#pragma once
// How much memory the machine has, for sizing work that runs side by side.
#include <cstdint>

namespace lk::platform {

// Bytes of physical memory; 0 when the system does not say.
std::uint64_t PhysicalMemoryBytes();

}  // namespace lk::platform
