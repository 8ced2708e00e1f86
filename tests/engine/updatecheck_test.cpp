// The update check against a download page served on 127.0.0.1, and the version file
// under writers racing each other.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/engine/updatecheck.h"
#include "core/mekerror.h"
#include "loopback.h"
#include "testenv.h"
#include "webserver.h"

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Page(const std::string& lines) {
  return "<html><head><title>下载</title></head><body>\r\n" + lines + "\r\n</body></html>";
}

const std::string Line = "录入时间：2013-3-5";

struct FCheckCase {
  const char* Name;
  std::string Body;                  // the download page
  std::optional<std::string> File;   // the version file before the check; none: missing
  TUpdateOutcome Outcome;
  std::optional<std::string> After;  // the version file after the check
};

}  // namespace

TEST(UpdateCheck, ComparesTheFirstMarkerLineWithTheVersionFile) {
  const std::string row = "<tr><td>软件名称：Orvex</td></tr>\r\n<tr><td> \t" + Line + "  </td></tr>";
  const FCheckCase cases[] = {
      {"first run creates the file", Page(row), std::nullopt, TUpdateOutcome::FileCreated,
       Line + "\r\n"},
      {"same line", Page(row), Line + "\r\n", TUpdateOutcome::SameVersion, Line + "\r\n"},
      {"same line without line end", Page(row), Line, TUpdateOutcome::SameVersion, Line},
      {"only the first line of the file counts", Page(row), Line + "\nold\r\n",
       TUpdateOutcome::SameVersion, Line + "\nold\r\n"},
      {"different line", Page(row), "录入时间：2012-1-1\r\n", TUpdateOutcome::NewVersion,
       "录入时间：2012-1-1\r\n"},
      {"empty file", Page(row), "", TUpdateOutcome::NewVersion, ""},
      {"untrimmed file line differs", Page(row), " " + Line + "\r\n", TUpdateOutcome::NewVersion,
       " " + Line + "\r\n"},
      // The page's text is in lower case: the file's capital letter makes a difference.
      {"byte comparison", Page("录入时间：2013 V4"), "录入时间：2013 V4\r\n",
       TUpdateOutcome::NewVersion, "录入时间：2013 V4\r\n"},
      {"two marker lines: the first counts", Page("录入时间：A\r\n录入时间：B"), std::nullopt,
       TUpdateOutcome::FileCreated, "录入时间：a\r\n"},
      {"lone CR and LF breaks", "x\r录入时间：1\ry\n录入时间：2", std::nullopt,
       TUpdateOutcome::FileCreated, "录入时间：1\r\n"},
      {"half-width colon is no marker", Page("录入时间:2013"), std::nullopt,
       TUpdateOutcome::NoVersionLine, std::nullopt},
      {"no marker leaves the file alone", Page("下载"), "old\r\n", TUpdateOutcome::NoVersionLine,
       "old\r\n"},
      {"empty page", "", std::nullopt, TUpdateOutcome::NoVersionLine, std::nullopt},
  };
  TWebServer server;
  ASSERT_GT(server.Port, 0);
  for (const FCheckCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TConfigHome home;
    const std::string folder = home.Path + "/orvex";
    const std::string path = VersionFilePath(folder);
    if (c.File) WriteFile(path, *c.File);
    server.Serve(c.Body, "text/html; charset=gbk");
    EXPECT_EQ(UpdateCheck({server.Base(), folder}), c.Outcome);
    EXPECT_EQ(ReadFile(path), c.After);
  }
}

TEST(UpdateCheck, AsksForTheDownloadPageOnce) {
  TWebServer server;
  ASSERT_GT(server.Port, 0);
  for (const std::string& site : {server.Base(), server.Base() + "/"}) {  // "/" not doubled
    server.Serve(Page(Line), "text/html; charset=gbk");
    std::string line;
    ASSERT_TRUE(FindVersionLine(site, line));
    EXPECT_EQ(line, Line);
    EXPECT_EQ(server.Targets(), std::vector<std::string>{"/Down.asp?SortID=1&ItemID=45"}) << site;
    EXPECT_EQ(HomePageAddress(site), server.Base() + "/");
  }
}

TEST(UpdateCheck, UnreachableSiteLeavesTheFileUntouched) {
  TRefusingPort refused;
  ASSERT_GT(refused.Port, 0);
  TConfigHome home;
  const std::string folder = home.Path + "/orvex";
  WriteFile(VersionFilePath(folder), "old\r\n");
  EXPECT_EQ(UpdateCheck({"http://127.0.0.1:" + std::to_string(refused.Port), folder}),
            TUpdateOutcome::NoVersionLine);
  EXPECT_EQ(ReadFile(VersionFilePath(folder)), "old\r\n");
}

// The site and the folder come from services.ini and the configuration folder; an empty
// site fetches nothing.
TEST(UpdateCheck, ConfiguredPlace) {
  TWebServer server;
  ASSERT_GT(server.Port, 0);
  server.Serve(Page(Line), "text/html; charset=gbk");
  {
    TConfigHome home;
    home.Write("[services]\nsite = " + server.Base() + "\n");
    const FUpdatePlace place = ConfiguredUpdatePlace();
    EXPECT_EQ(place.Site, server.Base());
    EXPECT_EQ(place.Folder, home.Path + "/orvex");
    EXPECT_EQ(UpdateCheck(place), TUpdateOutcome::FileCreated);
    EXPECT_EQ(ReadFile(home.Path + "/orvex/calcgx.dll"), Line + "\r\n");
    EXPECT_EQ(server.Targets().size(), 1u);
  }
  for (const char* ini : {"[services]\nsite =\n", ""}) {
    TConfigHome home;
    if (*ini) home.Write(ini);
    const FUpdatePlace place = ConfiguredUpdatePlace();
    EXPECT_EQ(place.Site, "");
    EXPECT_EQ(UpdateCheck(place), TUpdateOutcome::NoVersionLine);
    std::string line = "kept";
    EXPECT_FALSE(FindVersionLine(place.Site, line));
    EXPECT_EQ(line, "kept");
    EXPECT_FALSE(std::filesystem::exists(home.Path + "/orvex/calcgx.dll"));
  }
  EXPECT_EQ(server.Targets().size(), 1u);
}

// A version file that cannot be read or written ends the check without a word; the
// download label's write raises the reason.
TEST(UpdateCheck, FileErrors) {
  TWebServer server;
  ASSERT_GT(server.Port, 0);
  server.Serve(Page(Line), "text/html; charset=gbk");
  {
    TConfigHome home;
    const std::string folder = home.Path + "/orvex";
    std::filesystem::create_directories(VersionFilePath(folder));  // a folder of that name
    EXPECT_EQ(UpdateCheck({server.Base(), folder}), TUpdateOutcome::FileError);
    try {
      WriteVersionFile(folder, Line);
      ADD_FAILURE() << "no failure raised";
    } catch (const EMekError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot create file \"" + VersionFilePath(folder) + "\". Is a directory");
    }
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
  }
  // Only a regular file is read: neither endless bytes nor a FIFO without a writer hold
  // the check up.
  for (const auto make : {+[](const char* path) { return symlink("/dev/zero", path); },
                          +[](const char* path) { return mkfifo(path, 0600); }}) {
    TConfigHome home;
    const std::string folder = home.Path + "/orvex";
    std::filesystem::create_directories(folder);
    ASSERT_EQ(make(VersionFilePath(folder).c_str()), 0);
    EXPECT_EQ(UpdateCheck({server.Base(), folder}), TUpdateOutcome::FileError);
  }
  {
    TConfigHome home;
    WriteFile(home.Path + "/orvex", "a file where the folder should be");
    EXPECT_EQ(UpdateCheck({server.Base(), home.Path + "/orvex"}), TUpdateOutcome::FileError);
    EXPECT_THROW(WriteVersionFile(home.Path + "/orvex", Line), EMekError);
  }
  EXPECT_EQ(UpdateCheck({server.Base(), ""}), TUpdateOutcome::FileError);
  EXPECT_THROW(WriteVersionFile("", Line), EMekError);
}

// Writers racing each other (the check's thread and the download label) replace the file
// whole: a reader sees one complete line and CR LF, never a part of one or nothing.
TEST(UpdateCheck, ConcurrentWritersNeverLeaveAPartialFile) {
  TConfigHome home;
  const std::string folder = home.Path + "/orvex";
  const std::string path = VersionFilePath(folder);
  std::set<std::string> written;
  const int Writers = 6, Rounds = 40;
  auto lineOf = [](int w, int r) {
    return "录入时间：" + std::to_string(w) + "-" + std::to_string(r) + std::string(2000 + w * 500, 'x');
  };
  for (int w = 0; w < Writers; ++w)
    for (int r = 0; r < Rounds; ++r) written.insert(lineOf(w, r) + "\r\n");
  WriteVersionFile(folder, lineOf(0, 0));

  std::atomic<bool> done{false};
  std::atomic<int> reads{0}, bad{0}, failures{0};
  std::vector<std::thread> threads;
  for (int r = 0; r < 2; ++r)
    threads.emplace_back([&] {
      while (!done) {
        const std::optional<std::string> text = ReadFile(path);
        ++reads;
        if (!text || !written.count(*text)) ++bad;
      }
    });
  std::vector<std::thread> writers;
  for (int w = 0; w < Writers; ++w)
    writers.emplace_back([&, w] {
      for (int r = 0; r < Rounds; ++r) try {
          WriteVersionFile(folder, lineOf(w, r));
        } catch (...) {
          ++failures;
        }
    });
  for (std::thread& t : writers) t.join();
  done = true;
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(bad, 0) << "of " << reads << " reads";
  EXPECT_GT(reads, 0);
  EXPECT_TRUE(written.count(*ReadFile(path)));
  // Only the version file is left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

// A check that creates the file while the download label writes it: the file holds the
// line, whole.
TEST(UpdateCheck, CheckAndDownloadLabelAtOnce) {
  TWebServer server;
  ASSERT_GT(server.Port, 0);
  server.Serve(Page(Line), "text/html; charset=gbk");
  for (int round = 0; round < 10; ++round) {
    TConfigHome home;
    const std::string folder = home.Path + "/orvex";
    TUpdateOutcome outcome = TUpdateOutcome::FileError;
    std::thread check([&] { outcome = UpdateCheck({server.Base(), folder}); });
    std::string line;
    ASSERT_TRUE(FindVersionLine(server.Base(), line));
    WriteVersionFile(folder, line);
    check.join();
    EXPECT_TRUE(outcome == TUpdateOutcome::FileCreated || outcome == TUpdateOutcome::SameVersion);
    EXPECT_EQ(ReadFile(VersionFilePath(folder)), Line + "\r\n");
  }
}
