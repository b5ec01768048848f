#pragma once
// quillory.ini beside the program: the last search, so that the next start
// finds the page as it was, and searches saved by name, so that a routine
// clean-up is set up once. UTF-8 text, one "key=value" a line, under
// "[Last search]" and "[Search: <name>]", each section with the same keys.
//
// Written as settings.dat is: the whole file under a temporary name, then
// moved over the old one, retried while another program holds it. Every
// write starts from the file as it is on the disk and changes only the
// section it writes, so what another section, a hand or another version put
// there stays. A line that cannot be read leaves its field as it was.

#include <string>
#include <string_view>
#include <vector>

#include "search/search_definition.h"
#include "search/search_schedule.h"

// The file's text by section, every line as it was (without its line end).
struct IniText {
  struct Section {
    std::string title;  // between the brackets, blanks around it dropped
    std::vector<std::string> lines;
  };
  std::vector<std::string> preamble;  // lines before the first section
  std::vector<Section> sections;
  bool whole = false;  // it ended in the line the program writes last
};
IniText ParseIni(std::string_view bytes);
std::string RenderIni(const IniText& text);

// The file's bytes made UTF-8 text for ParseIni: UTF-16 with its byte-order
// mark (as Windows editors save "Unicode") is converted. Larger than 4 MB, or
// no text (zero bytes without a mark, broken UTF-16), it is not read, nor
// ever written over.
enum class IniBytes { kText, kTooLarge, kNotText };
IniBytes ReadIniBytes(std::string& bytes);

inline constexpr char kLastSearchTitle[] = "Last search";

class CSearchFile {
 public:
  // `folder`: the program's folder, ending in its separator.
  explicit CSearchFile(const std::string& folder) : m_strPath(folder + "quillory.ini") {}

  // The last search over `last`, and the names saved, in the file's order.
  // A missing file leaves both as they are. False, after a message, when the
  // file is there but cannot be read.
  bool Load(SearchDefinition& last, std::vector<std::string>& names);
  // The names saved, in the file's order; false, after a message, when the
  // file is there but cannot be read.
  bool SavedNames(std::vector<std::string>& names);
  // Whether a search of this name is saved (`saved` gets its spelling), or
  // the file is there but cannot be read (after a message).
  enum class Saved { kNo, kYes, kUnreadable };
  // One saved search over `search`, and its schedule when asked.
  Saved LoadSaved(const std::string& name, SearchDefinition& search,
                  SearchSchedule* schedule = nullptr);
  // Each writes the file; false, after a message, when it could not.
  bool SaveLast(const SearchDefinition& search);
  bool SaveNamed(const std::string& name, const SearchDefinition& search,
                 const SearchSchedule& schedule = {});
  bool Forget(const std::string& name);

  // For the runs that come round by themselves, which show no message: the
  // saved searches that have a schedule, in the file's order, and the end of
  // a run written into its section (its other lines as they are). False when
  // the file cannot be read or written.
  struct Scheduled {
    std::string name;
    SearchSchedule schedule;
  };
  bool ReadSchedules(std::vector<Scheduled>& scheduled);
  bool WriteLastRun(const std::string& name, int64_t time);
  Saved IsSaved(const std::string& name, std::string* saved = nullptr);

  const std::string& Path() const { return m_strPath; }
  // The last search was read whole, or there was none: the exit may write
  // it. After a partial read only the user's next search writes it again.
  bool m_bLastSearchWhole = true;

 private:
  // The file as it is on the disk (empty when there is none); false, after a
  // message, when it is there but cannot be read.
  // `quiet`: no message (the last search's automatic writes, once one was shown).
  bool Read(IniText& text, bool quiet = false);
  bool Write(const IniText& text, bool quiet = false);
  // The file's bytes, 4 MB and one at most; the cause when it cannot be opened.
  static int ReadWhole(const std::string& path, std::string& bytes);
  // Replaces the section of this title, or adds it at the end.
  static void Put(IniText& text, const std::string& title, std::vector<std::string> lines);

  std::string m_strPath;
  bool m_bLastSearchFailed = false;  // a message about it was shown this run
};

// Test seam: writes stop after this many bytes, as on a full disk. SIZE_MAX,
// the default, turns it off.
void SetSearchFileWriteCutForTest(size_t bytes);
