#pragma once
// Which volume a delete run takes a file to lie on before it compares the
// file with what the search listed. Asking the system costs more than the
// rest of the check, so a folder's volume is inferred from a folder above it
// where that is safe. The decisions are here, apart from the calls that ask,
// so that they can be tried on any system: shares and DFS links exist only
// on Windows.

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/file_system.h"

namespace platform {

// The folder whose volume `folder` shares unless it is a link or a mount
// point: its parent, both ending in "\". Empty for a drive's root, a share's
// root (\\server\share\: the server above it holds every share, each a
// volume of its own) and anything shorter.
std::string ParentOnSameVolume(const std::string& folder);

// The two questions the decision asks the system.
class VolumeLookups {
 public:
  // A folder that is neither a link nor a mount point.
  virtual bool IsPlainFolder(const std::string& folder) = 0;
  // The volume of the file being checked, asked through the file itself.
  virtual uint64_t FileVolume() = 0;

 protected:
  ~VolumeLookups() = default;
};

// The volume to compare with `listed.volume` for a file in `folder`, with
// `known` the volumes the run has learnt by folder. A folder known, or below
// a known one through plain folders, takes that volume without a question;
// otherwise the file's own volume is asked and holds for the plain folders
// above. A file is asked for its own volume before an inferred one may call
// it changed (a DFS link looks like a plain folder and leads to another
// server), and always when its listing gave no file number: such an identity
// is too thin to let an inferred volume pass.
uint64_t VolumeForCheck(const std::string& folder, const FileIdentity& listed,
                        std::unordered_map<std::string, uint64_t>& known, VolumeLookups& lookups);

}  // namespace platform
