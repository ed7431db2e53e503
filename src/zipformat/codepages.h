#pragma once

#include <cstdint>

namespace zipformat {
// Unicode values of bytes 0x80 to 0xFF.
extern const std::uint16_t kCp866High[128];
extern const std::uint16_t kCp1251High[128];
}
