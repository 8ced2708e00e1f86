#include "app/engine/updatecheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/codepage.h"
#include "core/mekconfig.h"
#include "core/mekerror.h"
#include "core/mekstr.h"
#include "net/mekhtml.h"
#include "net/mekservices.h"

const char* const UpdateNotice = "(Orvex)本软件有新版本了！";

namespace {

const char* const DownloadPage = "/Down.asp?SortID=1&ItemID=45";
const char* const VersionMarker = "录入时间：";
const char* const VersionFileName = "calcgx.dll";

[[noreturn]] void RaiseWriteError(const std::string& path, int error) {
  throw EMekError("Cannot create file \"" + Utf8ToGbk(path) + "\". " +
                  std::system_category().message(error));
}

// Writes all of text to fd; false with errno set when the write fails.
bool WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

enum class TFileRead { Read, Missing, Failed };

// The most of the version file that is read: its version line is one short line of the
// download page, and whatever else the file holds is never looked at.
constexpr size_t MaxVersionLineBytes = 4096;

// The first line of the file at path, up to its first CR or LF (the whole file when it
// has none, empty for an empty file) and at most MaxVersionLineBytes long. Only a regular
// file is read, so a link to a device or a FIFO in its place is a failed read.
TFileRead ReadFirstLine(const std::string& path, std::string& line) {
  // Non-blocking, so that opening a FIFO does not wait for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno == ENOENT ? TFileRead::Missing : TFileRead::Failed;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  char bytes[MaxVersionLineBytes];
  size_t got = 0;
  while (ok && got < sizeof bytes) {
    const ssize_t n = read(fd, bytes + got, sizeof bytes - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    got += static_cast<size_t>(n);
    if (std::memchr(bytes, '\r', got) || std::memchr(bytes, '\n', got)) break;
  }
  close(fd);
  if (!ok) return TFileRead::Failed;
  line.assign(bytes, std::find_if(bytes, bytes + got, [](char c) { return c == '\r' || c == '\n'; }));
  return TFileRead::Read;
}

}  // namespace

FUpdatePlace ConfiguredUpdatePlace() { return {ServiceAddress("site"), ConfigFolder()}; }

std::string VersionFilePath(const std::string& folder) {
  return folder.empty() ? std::string() : folder + "/" + VersionFileName;
}

bool FindVersionLine(const std::string& site, std::string& line) {
  if (site.empty()) return false;
  const std::string text = HtmlToText(FetchPage(SiteAddress(site, DownloadPage)));
  TLineReader lines(text);
  for (std::string_view l; lines.Next(l);) {
    if (l.find(VersionMarker) == std::string_view::npos) continue;
    line = TrimText(l);
    return true;
  }
  return false;
}

void WriteVersionFile(const std::string& folder, const std::string& line) {
  const std::string path = VersionFilePath(folder);
  if (path.empty()) RaiseWriteError(VersionFileName, ENOENT);  // no home folder known
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) RaiseWriteError(path, ec.value());
  // A name of its own for every writer, in the same folder so the rename stays on one
  // file system and replaces the file in one step.
  std::string temp = path + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) RaiseWriteError(path, errno);
  bool ok = WriteAll(fd, line + "\r\n") && fsync(fd) == 0;
  int error = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    RaiseWriteError(path, error);
  }
}

TUpdateOutcome UpdateCheck(const FUpdatePlace& place) {
  try {
    std::string line;
    if (!FindVersionLine(place.Site, line)) return TUpdateOutcome::NoVersionLine;
    const std::string path = VersionFilePath(place.Folder);
    if (path.empty()) return TUpdateOutcome::FileError;
    std::string seen;
    switch (ReadFirstLine(path, seen)) {
      case TFileRead::Read:
        return seen == line ? TUpdateOutcome::SameVersion : TUpdateOutcome::NewVersion;
      case TFileRead::Missing:
        WriteVersionFile(place.Folder, line);
        return TUpdateOutcome::FileCreated;
      case TFileRead::Failed:
        break;
    }
  } catch (...) {
  }
  return TUpdateOutcome::FileError;
}

std::string HomePageAddress(const std::string& site) {
  return site.empty() ? std::string() : CompleteAddress(SiteAddress(site, "/"));
}

std::string ContactLink(const std::string& account) {
  return account.empty() ? std::string() : "tencent://message/?uin=" + account + "&Site=Menu=yes";
}
