// settings.dat: a fixed little-endian record, 57 bytes, or 121 with a password.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "dialogs/show_message.h"
#include "platform/file_system.h"
#include "platform/settings_io.h"
#include "settings/app_data.h"

namespace {

constexpr char kHeader[] = "quillorysweeptool settings";
constexpr size_t kHeaderSize = sizeof(kHeader);  // the text and its zero byte
constexpr size_t kFieldsSize = 6 * 4 + 2 + 4;    // six numbers, two flags, the hash length
constexpr size_t kMaxHashLength = 64;
constexpr int32_t kMinSplitterPos = 140;

size_t g_nSaveCut = SIZE_MAX;

void PutInt(std::string& record, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) record += static_cast<char>((bits >> shift) & 0xFF);
}

// Reads the fields in file order; one the record is too short to supply keeps
// the value it had.
class CFieldReader {
 public:
  CFieldReader(const uint8_t* data, size_t size) : m_pData(data), m_nSize(size) {}

  void Read(int32_t& field) {
    if (m_nOffset + 4 <= m_nSize) {
      uint32_t bits = 0;
      for (int i = 3; i >= 0; --i) bits = (bits << 8) | m_pData[m_nOffset + i];
      field = static_cast<int32_t>(bits);
    }
    m_nOffset += 4;
  }
  void Read(uint8_t& field) {
    if (m_nOffset < m_nSize) field = m_pData[m_nOffset];
    m_nOffset += 1;
  }

 private:
  const uint8_t* m_pData;
  size_t m_nSize;
  size_t m_nOffset = 0;
};

}  // namespace

void SetSettingsSaveCutForTest(size_t bytes) { g_nSaveCut = bytes; }

void CAppData::SetDefaults() {
  m_nWindowLeft = 20;
  m_nWindowTop = 20;
  m_nWindowWidth = 650;
  m_nWindowHeight = 450;
  m_nWindowShowCmd = 1;
  m_nSplitterPos = kMinSplitterPos;
  m_bPasswordProtection = 0;
  m_strPasswordHash.clear();
  m_bStartWithWindows = 0;
  m_nTask = TASK_NONE;
  m_nRunningTask = TASK_NONE;
}

namespace {

bool IsHashText(std::string_view hash) {
  return hash.size() == kMaxHashLength && std::all_of(hash.begin(), hash.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
         });
}

// A whole record as a save writes it: the header, the fields, and a hash of
// the length the file says, 0 or 64 hexadecimal digits, and nothing more;
// protection on only with a hash, as no password can be checked without one.
bool IsCompleteRecord(const std::string& bytes) {
  if (bytes.size() < kHeaderSize + kFieldsSize ||
      bytes.compare(0, kHeaderSize, kHeader, kHeaderSize) != 0)
    return false;
  const size_t flags = kHeaderSize + 6 * 4;
  const auto protection = static_cast<uint8_t>(bytes[flags + 1]);
  if (static_cast<uint8_t>(bytes[flags]) > 1 || protection > 1) return false;
  int32_t length = -1;
  CFieldReader(reinterpret_cast<const uint8_t*>(bytes.data()) + flags + 2, 4).Read(length);
  if ((length != 0 && length != static_cast<int32_t>(kMaxHashLength)) ||
      bytes.size() != kHeaderSize + kFieldsSize + static_cast<size_t>(length))
    return false;
  return length == 0 ? protection == 0
                     : IsHashText(std::string_view(bytes).substr(kHeaderSize + kFieldsSize));
}

// At most one byte more than the longest record: enough to tell one too long.
std::string ReadRecord(platform::ExclusiveFile& file) {
  std::string bytes(kHeaderSize + kFieldsSize + kMaxHashLength + 1, '\0');
  bytes.resize(file.Read(bytes.data(), bytes.size()));
  file.Close();
  return bytes;
}

// A save replaces settings.dat by its complete new file in one step; where
// the file system makes that a delete and a rename (FAT, exFAT: a program on a
// USB stick), a cut in between leaves only the new file. Put it in place if
// it is whole; a damaged one is left as it is. Returns the file to load:
// settings.dat once the new file is in its place, the new file itself where
// it cannot be moved (a write-protected stick), as starting unprotected would
// be worse; empty when there is nothing whole to load.
std::string TakeInterruptedSave(const std::string& path) {
  const std::string newPath = path + ".new";
  platform::ExclusiveFile file;
  if (file.OpenForReading(newPath) != platform::kCauseNone) return {};
  if (!IsCompleteRecord(ReadRecord(file))) return {};
  return platform::MoveFileOver(newPath, path) == platform::kCauseNone ? path : newPath;
}

}  // namespace

bool CAppData::LoadSettings() {
  const std::string path = m_strAppFolder + "settings.dat";
  std::string source = path;
  // A first start has no file: defaults, quietly.
  if (platform::GetAttributes(path) == platform::kInvalidAttributes &&
      (source = TakeInterruptedSave(path)).empty()) {
    SetDefaults();
    return false;
  }
  // After either box the program runs as on a first start: a record left as
  // the constructor made it would keep the window hidden at 0 by 0.
  platform::ExclusiveFile file;
  if (const int cause = file.OpenForReading(source)) {
    ShowFileError("open", source, cause);
    SetDefaults();
    m_bKeepUnreadSettingsFile = true;
    return false;
  }
  // Only a record as a save writes it: one cut short (inside its hash, or
  // after its header) would start with protection on and no hash that any
  // password matches, or hidden at 0 by 0. The wrong one is rewritten at
  // exit, which repairs it.
  const std::string bytes = ReadRecord(file);
  if (!IsCompleteRecord(bytes)) {
    ShowError("Wrong settings.dat");
    SetDefaults();
    return false;
  }
  CFieldReader reader(reinterpret_cast<const uint8_t*>(bytes.data()) + kHeaderSize,
                      bytes.size() - kHeaderSize);
  reader.Read(m_nWindowLeft);
  reader.Read(m_nWindowTop);
  reader.Read(m_nWindowWidth);
  reader.Read(m_nWindowHeight);
  reader.Read(m_nWindowShowCmd);
  reader.Read(m_nSplitterPos);
  m_nSplitterPos = std::max(m_nSplitterPos, kMinSplitterPos);
  reader.Read(m_bStartWithWindows);  // before the protection flag in the file
  reader.Read(m_bPasswordProtection);
  m_strPasswordHash = bytes.substr(kHeaderSize + kFieldsSize);
  // A new file left beside the one just loaded is older news: kept, it would
  // come back with its password once the user deletes settings.dat to reset
  // a forgotten one.
  if (source == path) platform::RemoveFile(path + ".new");
  return true;
}

bool CAppData::SaveSettings() {
  const std::string path = m_strAppFolder + "settings.dat";
  std::string record(kHeader, kHeaderSize);
  PutInt(record, m_nWindowLeft);
  PutInt(record, m_nWindowTop);
  PutInt(record, m_nWindowWidth);
  PutInt(record, m_nWindowHeight);
  PutInt(record, m_nWindowShowCmd);
  PutInt(record, m_nSplitterPos);
  // Protection is written on only with a hash to check against: a record
  // with the one and not the other would shut its user out for good.
  const bool hashed = IsHashText(m_strPasswordHash);
  record += static_cast<char>(m_bStartWithWindows != 0);
  record += static_cast<char>(hashed && m_bPasswordProtection != 0);
  PutInt(record, hashed ? static_cast<int32_t>(kMaxHashLength) : 0);
  if (hashed) record += m_strPasswordHash;

  bool opened = false;
  if (const int cause = platform::WriteFileWhole(path, record, opened, g_nSaveCut)) {
    ShowFileError(opened ? "write" : "open", path, cause);
    return false;
  }
  m_bKeepUnreadSettingsFile = false;
  return true;
}
