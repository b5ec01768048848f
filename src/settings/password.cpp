#include <cstdio>
#include <string>

#include "settings/app_data.h"
#include "settings/sha256.h"

namespace {

// 64 upper-case hex digits: the only form in which a password is kept.
std::string HashText(const std::string& text) {
  CSha256 sha;
  Sha256Context context;
  sha.Init(context);
  for (const char c : text) sha.Update(context, static_cast<uint8_t>(c));
  uint8_t digest[kSha256DigestSize] = {};
  sha.Final(context, digest);
  std::string result;
  for (const uint8_t byte : digest) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    result += hex;
  }
  return result;
}

}  // namespace

void CAppData::SetPassword(std::string password) { m_strPasswordHash = HashText(password); }

bool CAppData::IsPasswordCorrect(std::string typed) const {
  return HashText(typed) == m_strPasswordHash;
}
