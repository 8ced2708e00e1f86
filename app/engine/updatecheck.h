// The update check: one line of the maker's download page, compared with the line seen
// last time, which the version file "calcgx.dll" in the user's configuration folder
// keeps. Also the addresses of the window's links to the maker's site and to the author.
// Nothing here touches the window; the window starts UpdateCheck on a thread of its own
// and shows the notice.
#pragma once
#include <string>

// The notice the window puts into its caption when the download page has a new version
// line (GBK).
extern const char* const UpdateNotice;

// Where the check looks: the site's base address (services.ini key "site"; empty: no
// site, nothing is fetched) and the folder of the version file.
struct FUpdatePlace {
  std::string Site;
  std::string Folder;
};

// The configured place: ServiceAddress("site") and ConfigFolder(). Read on the window
// thread, so the check's thread never reads the environment.
FUpdatePlace ConfiguredUpdatePlace();

// The version file of a folder: folder + "/calcgx.dll".
std::string VersionFilePath(const std::string& folder);

// Fetches the download page (SiteAddress(site, "/Down.asp?SortID=1&ItemID=45"): a closing
// "/" of site is dropped) and sets line to the first of its text lines containing
// "录入时间：", with the bytes 0x00-0x20 at both ends removed. False, line untouched,
// when no line has the marker, when the fetch failed, and at once, fetching nothing,
// when site is empty. Safe on any thread.
bool FindVersionLine(const std::string& site, std::string& line);

// Replaces the version file of folder by line and CR LF, creating the folder when it is
// missing. The text goes to a temporary file in the same folder that is then renamed over
// the version file, so a reader (or a second writer at the same moment) sees the old
// content or the new one, never a part of it or an empty file. Raises EMekError with the
// reason (GBK) when the file cannot be written.
void WriteVersionFile(const std::string& folder, const std::string& line);

// What one check found.
enum class TUpdateOutcome {
  NoVersionLine,  // nothing fetched, or no marker line: nothing done
  FileCreated,    // no version file yet: created with the line
  SameVersion,    // the file's first line is the version line
  NewVersion,     // the file's first line differs: the window shows UpdateNotice
  FileError,      // the file could not be read or created: nothing more done
};

// The check's whole work, once: FindVersionLine; when a line was found, compare it with
// the first line of the version file (up to CR or LF, byte for byte) or create the file
// when there is none. Only a regular file is read, and only its first 4 KiB at the most
// (a longer first line is cut there); anything else in its place (a link to a device, a
// FIFO, a folder) is a file error. Raises nothing.
TUpdateOutcome UpdateCheck(const FUpdatePlace& place);

// The home page of the site (SiteAddress(site, "/"), completed as FetchPage completes it),
// empty for an empty site or a scheme other than http and https.
std::string HomePageAddress(const std::string& site);
// The chat link to the author's account: "tencent://message/?uin=" account
// "&Site=Menu=yes"; empty for an empty account.
std::string ContactLink(const std::string& account);
