#pragma once
// CRC-32C of byte blocks, for files that must notice any damaged bit.
#include <cstdint>
#include <string_view>

namespace tovuri {

// The CRC-32C of bytes (the Castagnoli polynomial, reflected, initial and
// final value all ones, as iSCSI and ext4 use it), continued from crc, the
// CRC of the bytes before: Crc32c(a + b) == Crc32c(b, Crc32c(a)). It tells
// apart any two blocks that differ in one bit, or in a burst of up to 32
// bits. Processors that have an instruction for it use it.
uint32_t Crc32c(std::string_view bytes, uint32_t crc = 0);

// The same without the processor's instruction, for tests to compare.
uint32_t Crc32cPortable(std::string_view bytes, uint32_t crc = 0);

}  // namespace tovuri
