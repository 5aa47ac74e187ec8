#include "spell/ox3Checksum.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <nmmintrin.h>
#define TOVURI_CRC32C_INSTRUCTION 1
#endif

namespace tovuri {
namespace {

constexpr uint32_t kPolynomial = 0x82F63B78;  // Castagnoli's 0x1EDC6F41, reflected

// Eight tables, so that eight bytes take one step ("slicing by eight"): a
// byte at a time, the CRC of a 1 MB file would cost a few milliseconds.
constexpr std::array<std::array<uint32_t, 256>, 8> kTables = [] {
  std::array<std::array<uint32_t, 256>, 8> tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) ? kPolynomial : 0);
    tables[0][i] = crc;
  }
  for (uint32_t i = 0; i < 256; ++i)
    for (std::size_t t = 1; t < 8; ++t) tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFF];
  return tables;
}();

#ifdef TOVURI_CRC32C_INSTRUCTION
// SSE 4.2's crc32 instruction computes this very CRC, eight bytes a cycle or
// so: the 1.4 MB of a large dictionary in a fifth of a millisecond.
__attribute__((target("sse4.2"))) uint32_t WithInstruction(const unsigned char* p, std::size_t n, uint32_t crc) {
  uint64_t wide = crc;
  for (; n >= 8; n -= 8, p += 8) {
    uint64_t piece;
    std::memcpy(&piece, p, 8);
    wide = _mm_crc32_u64(wide, piece);
  }
  crc = static_cast<uint32_t>(wide);
  for (; n > 0; --n, ++p) crc = _mm_crc32_u8(crc, *p);
  return crc;
}

bool HasInstruction() {
  static const bool has = __builtin_cpu_supports("sse4.2");
  return has;
}
#endif

}  // namespace

uint32_t Crc32cPortable(std::string_view bytes, uint32_t crc) {
  crc = ~crc;
  auto p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  for (; n >= 8; n -= 8, p += 8) {
    const uint32_t low = crc ^ (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
    crc = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
          kTables[4][low >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
  }
  for (; n > 0; --n, ++p) crc = (crc >> 8) ^ kTables[0][(crc ^ *p) & 0xFF];
  return ~crc;
}

uint32_t Crc32c(std::string_view bytes, uint32_t crc) {
#ifdef TOVURI_CRC32C_INSTRUCTION
  if (HasInstruction())
    return ~WithInstruction(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), ~crc);
#endif
  return Crc32cPortable(bytes, crc);
}

}  // namespace tovuri
