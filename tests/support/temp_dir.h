#pragma once
// A real folder for one test, removed with everything in it afterwards.

#include <cstdint>
#include <string>

#include "platform/file_system.h"

class TempDir {
 public:
  TempDir();
  // One made inside `base` instead of the system's temporary folder.
  explicit TempDir(const std::string& base);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  // Path of a relative name ("a/b.txt" with either separator) below the folder.
  std::string operator/(const std::string& relative) const;
  // Creates the file (and its folders) with `size` bytes of a repeating pattern.
  std::string MakeFile(const std::string& relative, uint64_t size = 0);
  std::string MakeFolder(const std::string& relative);

 private:
  std::string m_path;
};

// Sets a file's three times, in seconds since 1970 UTC.
bool SetFileTimes(const std::string& path, int64_t created, int64_t modified, int64_t accessed);
// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Writes these bytes as the whole file; false when it cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool SetReadOnly(const std::string& path, bool readOnly);
// Removes one file, link or empty folder, read-only or not.
bool RemoveEntry(const std::string& path, bool directory);
// The time zone every test assumes (New York's rules), whatever the machine's.
void UseTestTimeZone();
// Makes `linkPath` a symbolic link to `target` ("." for the folder it stands
// in, as "ln -s . loop"). Under Wine it is a host link, which Wine shows as a
// reparse-point directory.
bool MakeFolderLink(const std::string& linkPath, const std::string& target);
// Gives the file `target` a second name, `linkPath` (a hard link).
bool MakeHardLink(const std::string& linkPath, const std::string& target);

// The identity the search records for a file, read through the program's own
// listing of its folder; an empty identity when the folder does not list it.
platform::FileIdentity ListedIdentity(const std::string& path);
