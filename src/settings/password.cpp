#include <cstdio>
#include <string>

#include "platform/text.h"
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

bool CAppData::IsPasswordCorrect(std::string typed) {
  if (HashText(typed) == m_strPasswordHash) return true;
  // A password set while the program's text was the legacy code page was
  // hashed from those bytes: accept it once more and keep it in today's form.
  const std::string legacy = platform::ToLegacyCodePage(typed);
  if (legacy.empty() || legacy == typed || HashText(legacy) != m_strPasswordHash) return false;
  SetPassword(std::move(typed));
  SaveSettings();
  return true;
}
