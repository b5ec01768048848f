#pragma once
// The program's own SHA-256, fed one byte at a time: the password is hashed
// before it is stored or compared, and this is all the hashing the program does.

#include <cstdint>

inline constexpr int kSha256DigestSize = 32;

struct Sha256Context {
  uint32_t m_dwBitCountLow = 0;   // message bits fed so far, low word
  uint32_t m_dwBitCountHigh = 0;  // and high word
  uint32_t m_dwH[8] = {};         // the working hash words
  // W0..W15 gather the current block as big-endian words; compression turns
  // all 64 into the message schedule.
  uint32_t m_dwW[64] = {};
};

class CSha256 {
 public:
  void Init(Sha256Context& context);
  // Feeds the low 8 bits of `byte`.
  void Update(Sha256Context& context, uint32_t byte);
  // Pads, writes the digest and leaves the context initialised for the next message.
  void Final(Sha256Context& context, uint8_t (&digest)[kSha256DigestSize]);

 private:
  void Compress(Sha256Context& context);
};
