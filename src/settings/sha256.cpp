#include "settings/sha256.h"

namespace {

constexpr uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t kInitialHash[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

void CSha256::Init(Sha256Context& context) {
  context.m_dwBitCountLow = 0;
  context.m_dwBitCountHigh = 0;
  for (int i = 0; i < 8; ++i) context.m_dwH[i] = kInitialHash[i];
  for (uint32_t& word : context.m_dwW) word = 0;
}

void CSha256::Update(Sha256Context& context, uint32_t byte) {
  uint32_t& word = context.m_dwW[(context.m_dwBitCountLow >> 5) & 15];
  word = (word << 8) | (byte & 0xFF);
  context.m_dwBitCountLow += 8;
  if (context.m_dwBitCountLow == 0) ++context.m_dwBitCountHigh;
  if ((context.m_dwBitCountLow & 511) == 0) Compress(context);
}

void CSha256::Final(Sha256Context& context, uint8_t (&digest)[kSha256DigestSize]) {
  const uint32_t low = context.m_dwBitCountLow;
  const uint32_t high = context.m_dwBitCountHigh;
  Update(context, 0x80);
  while ((context.m_dwBitCountLow & 511) != 448) Update(context, 0);
  context.m_dwW[14] = high;
  context.m_dwW[15] = low;
  Compress(context);
  for (int i = 0; i < kSha256DigestSize; ++i)
    digest[i] = static_cast<uint8_t>(context.m_dwH[i / 4] >> ((3 - i % 4) * 8));
  Init(context);
}

void CSha256::Compress(Sha256Context& context) {
  uint32_t* w = context.m_dwW;
  for (int t = 16; t < 64; ++t) {
    const uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
    const uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
    w[t] = w[t - 16] + s0 + w[t - 7] + s1;
  }
  uint32_t a = context.m_dwH[0], b = context.m_dwH[1], c = context.m_dwH[2], d = context.m_dwH[3];
  uint32_t e = context.m_dwH[4], f = context.m_dwH[5], g = context.m_dwH[6], h = context.m_dwH[7];
  for (int t = 0; t < 64; ++t) {
    const uint32_t sum1 = Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25);
    const uint32_t choose = (e & f) ^ (~e & g);
    const uint32_t t1 = h + sum1 + choose + kRoundConstants[t] + w[t];
    const uint32_t sum0 = Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22);
    const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
    const uint32_t t2 = sum0 + majority;
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  context.m_dwH[0] += a;
  context.m_dwH[1] += b;
  context.m_dwH[2] += c;
  context.m_dwH[3] += d;
  context.m_dwH[4] += e;
  context.m_dwH[5] += f;
  context.m_dwH[6] += g;
  context.m_dwH[7] += h;
}
