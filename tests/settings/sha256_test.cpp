#include "settings/sha256.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "settings/app_data.h"

// Expected digests were computed with sha256sum when these tests were written.

namespace {

std::string Hex(const uint8_t (&digest)[kSha256DigestSize]) {
  std::string text;
  char pair[3];
  for (const uint8_t byte : digest) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    text += pair;
  }
  return text;
}

std::string Digest(std::string_view message) {
  CSha256 sha;
  Sha256Context context;
  sha.Init(context);
  for (const char c : message) sha.Update(context, static_cast<uint8_t>(c));
  uint8_t digest[kSha256DigestSize] = {};
  sha.Final(context, digest);
  return Hex(digest);
}

}  // namespace

TEST(Sha256, StandardVectors) {
  EXPECT_EQ(Digest(""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
  EXPECT_EQ(Digest("abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
  EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
  EXPECT_EQ(Digest("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnop"
                   "qklmnopqrlmnopqrsmnopqrstnopqrstu"),
            "CF5B16A778AF8380036CE59E7B0492370B249B11E8F07A51AFAC45037AFEE9D1");
}

// 55 bytes leave just room for the length in one block; 56 and 63 push the
// length into a second block; 64 fill a block exactly.
TEST(Sha256, PaddingBoundaries) {
  EXPECT_EQ(Digest(std::string(55, 'a')),
            "9F4390F8D30C2DD92EC9F095B65E2B9AE9B0A925A5258E241C9F1E910F734318");
  EXPECT_EQ(Digest(std::string(56, 'a')),
            "B35439A4AC6F0948B6D6F9E3C6AF0F5F590CE20F1BDE7090EF7970686EC6738A");
  EXPECT_EQ(Digest(std::string(63, 'a')),
            "7D3E74A05D7DB15BCE4AD9EC0658EA98E3F06EEECF16B4C6FFF2DA457DDC2F34");
  EXPECT_EQ(Digest(std::string(64, 'a')),
            "FFE054FE7AE0CB6DC65C3AF9B61D5209F439851DB43D0BA5997337DF154668EB");
}

TEST(Sha256, LongMessages) {
  EXPECT_EQ(Digest(std::string(1000000, 'a')),
            "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
  std::string mebibyte(1 << 20, '\0');
  for (size_t i = 0; i < mebibyte.size(); ++i) mebibyte[i] = static_cast<char>((i * 7 + 3) % 256);
  EXPECT_EQ(Digest(mebibyte), "172C15DC2E12B50E523D8E657CBE7FBB11C1053252BBF1E1431077D57D8128FD");
}

TEST(Sha256, HighBytesCountOnlyTheirLowEightBits) {
  // Fed as sign-extended chars would arrive: 0xFFFFFF80 and up.
  CSha256 sha;
  Sha256Context context;
  sha.Init(context);
  for (int b = 0x80; b <= 0xFF; ++b) sha.Update(context, static_cast<uint32_t>(b - 256));
  uint8_t digest[kSha256DigestSize] = {};
  sha.Final(context, digest);
  EXPECT_EQ(Hex(digest), "60AE23EE1DD9974D2F4036AA646F97B13F1A5A8B6304C31FAEA05C59CB363C65");
}

TEST(Sha256, FinalLeavesTheContextReadyForTheNextMessage) {
  CSha256 sha;
  Sha256Context context;
  sha.Init(context);
  for (const char c : std::string(70, 'x')) sha.Update(context, static_cast<uint8_t>(c));
  uint8_t digest[kSha256DigestSize] = {};
  sha.Final(context, digest);
  for (const char c : std::string_view("abc")) sha.Update(context, static_cast<uint8_t>(c));
  sha.Final(context, digest);
  EXPECT_EQ(Hex(digest), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
  EXPECT_EQ(context.m_dwBitCountLow, 0u);
  EXPECT_EQ(context.m_dwBitCountHigh, 0u);
}

TEST(Password, StoredAsUpperCaseHexDigestAndComparedExactly) {
  CAppData data;
  // Characters outside ASCII are hashed as their single ANSI bytes.
  data.SetPassword("p\xE4ssw\xF6rd");
  EXPECT_EQ(data.m_strPasswordHash,
            "0867EC9E47B8DBA41B8B911DF1BBBEAC602B2E7FB28A90B334502F19E2DA471D");
  data.SetPassword("secret");
  EXPECT_EQ(data.m_strPasswordHash,
            "2BB80D537B1DA3E38BD30361AA855686BDE0EACD7162FEF6A25FE97BF527A25B");
  EXPECT_TRUE(data.IsPasswordCorrect("secret"));
  for (const char* wrong : {"Secret", "secret ", ""}) EXPECT_FALSE(data.IsPasswordCorrect(wrong));
}

TEST(Password, NothingMatchesAnEmptyOrLowerCaseHash) {
  CAppData data;
  EXPECT_FALSE(data.IsPasswordCorrect(""));
  EXPECT_FALSE(data.IsPasswordCorrect("secret"));
  // Edited by hand into lower case: the comparison is exact.
  data.m_strPasswordHash = "2bb80d537b1da3e38bd30361aa855686bde0eacd7162fef6a25fe97bf527a25b";
  EXPECT_FALSE(data.IsPasswordCorrect("secret"));
}
