// The settings store in a temporary configuration folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/engine/mekreg.h"

namespace fs = std::filesystem;

namespace {

class RegStore : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvex-reg-XXXXXX";
    dir_ = mkdtemp(pattern);
    old_ = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
  }
  void TearDown() override {
    if (old_.empty()) unsetenv("XDG_CONFIG_HOME");
    else setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
    fs::remove_all(dir_);
  }
  std::string Store() const { return dir_ + "/config/orvex/HKEY_CURRENT_USER.ini"; }
  void WriteStore(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string dir_, old_;
};

const char* const Key = "Software\\Vorlan\\mekcalc";

}  // namespace

TEST_F(RegStore, WriteThenReadEveryRoot) {
  for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                           "HKEY_CLASSES_ROOT"}) {
    EXPECT_TRUE(RegWriteString(root, Key, "font", root)) << root;
  }
  for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                           "HKEY_CLASSES_ROOT"}) {
    std::string text;
    EXPECT_TRUE(RegReadString(root, Key, "font", text));
    EXPECT_EQ(text, root);
  }
  EXPECT_EQ(RegStoreFile("HKEY_USERS"), dir_ + "/config/orvex/HKEY_USERS.ini");
}

TEST_F(RegStore, UnknownRootWritesNothing) {
  for (const char* root : {"HKEY_CURRENT_CONFIG", "hkey_current_user", "", "HKCU"}) {
    EXPECT_FALSE(RegWriteString(root, Key, "font", "x")) << root;
    std::string text = "old";
    EXPECT_FALSE(RegReadString(root, Key, "font", text));
    EXPECT_EQ(text, "");
  }
  EXPECT_FALSE(fs::exists(dir_ + "/config"));
}

TEST_F(RegStore, ReadCreatesNothingAndMissingGivesFalse) {
  std::string text = "old";
  EXPECT_FALSE(RegReadString("HKEY_CURRENT_USER", Key, "font", text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(fs::exists(dir_ + "/config"));
  ASSERT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "a"));
  EXPECT_FALSE(RegReadString("HKEY_CURRENT_USER", Key, "other", text));
  EXPECT_FALSE(RegReadString("HKEY_CURRENT_USER", "Software\\Vorlan", "font", text));
  EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", "software\\vorlan\\MEKCALC", "FONT", text));
  EXPECT_EQ(text, "a");
}

TEST_F(RegStore, ValuesKeepTheirBytes) {
  const std::string values[] = {"80000008FFFFFFF0000C006008600004宋体",
                                "", "a\\b\\\\c", "two\r\nlines\n", std::string("nul\0x", 5),
                                "=[x]=;", "  blanks  "};
  for (const std::string& v : values) {
    ASSERT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", v));
    ASSERT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "other", "kept"));
    std::string text;
    EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "font", text));
    EXPECT_EQ(text, v);
    EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "other", text));
    EXPECT_EQ(text, "kept");
  }
}

TEST_F(RegStore, UnwritableStoreGivesFalse) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes through permissions";
  fs::create_directories(dir_ + "/config/orvex");
  chmod((dir_ + "/config/orvex").c_str(), 0500);
  EXPECT_FALSE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "x"));
  chmod((dir_ + "/config/orvex").c_str(), 0700);
}

TEST_F(RegStore, StoreThatIsAFolderGivesFalse) {
  fs::create_directories(dir_ + "/config/orvex/HKEY_CURRENT_USER.ini");
  EXPECT_FALSE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "x"));
  std::string text;
  EXPECT_FALSE(RegReadString("HKEY_CURRENT_USER", Key, "font", text));
}

TEST_F(RegStore, MissingConfigurationFoldersAreCreated) {
  setenv("XDG_CONFIG_HOME", (dir_ + "/a/b/c").c_str(), 1);
  EXPECT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "x"));
  EXPECT_TRUE(fs::exists(dir_ + "/a/b/c/orvex/HKEY_CURRENT_USER.ini"));
}

TEST_F(RegStore, FileInPlaceOfTheFolderGivesFalse) {
  fs::create_directories(dir_ + "/config");
  std::ofstream(dir_ + "/config/orvex") << "not a folder";
  EXPECT_FALSE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "x"));
  std::string text = "old";
  EXPECT_FALSE(RegReadString("HKEY_CURRENT_USER", Key, "font", text));
  EXPECT_EQ(text, "");
}

// A store beyond RegMaxStoreSize is unreadable: reads find nothing, writes fail, and the
// file keeps its bytes.
TEST_F(RegStore, OversizedStoreIsUnreadableAndLeftAlone) {
  // The store of the given size: the value font=x and a long value filling the rest.
  const auto storeOfSize = [](size_t size) {
    const std::string head = "[Software\\Vorlan\\mekcalc]\nfont=x\npad=";
    return head + std::string(size - head.size() - 1, 'a') + "\n";
  };
  struct Case {
    size_t Size;
    bool Readable;
  } cases[] = {{RegMaxStoreSize, true}, {RegMaxStoreSize + 1, false}, {2 * RegMaxStoreSize, false}};
  for (const Case& c : cases) {
    const std::string text = storeOfSize(c.Size);
    ASSERT_EQ(text.size(), c.Size);
    WriteStore(Store(), text);
    std::string value = "old";
    EXPECT_EQ(RegReadString("HKEY_CURRENT_USER", Key, "font", value), c.Readable) << c.Size;
    EXPECT_EQ(value, c.Readable ? "x" : "") << c.Size;
    EXPECT_EQ(RegWriteString("HKEY_CURRENT_USER", Key, "font", "y"), c.Readable) << c.Size;
    if (!c.Readable) {
      EXPECT_TRUE(ReadAll(Store()) == text) << c.Size;
    }
  }
  // A write that would take the store beyond the size fails and changes nothing.
  const std::string full = storeOfSize(RegMaxStoreSize);
  WriteStore(Store(), full);
  EXPECT_FALSE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "xy"));
  EXPECT_FALSE(RegWriteString("HKEY_CURRENT_USER", Key, "other", ""));
  EXPECT_TRUE(ReadAll(Store()) == full);
}

// Eight processes write their own value two hundred times each at the same time; every
// write reported done is in the store afterwards.
TEST_F(RegStore, ConcurrentWritersKeepEveryValue) {
  const int Writers = 8, Writes = 200;
  ASSERT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "start", "1"));
  std::vector<pid_t> children;
  for (int w = 0; w < Writers; ++w) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failed = 0;
      for (int n = 0; n < Writes; ++n)
        if (!RegWriteString("HKEY_CURRENT_USER", Key, "v" + std::to_string(w),
                            std::to_string(w) + "-" + std::to_string(n)))
          ++failed;
      _exit(failed == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  // Bounded: writers still running after a minute are stopped and count as failed.
  const time_t deadline = time(nullptr) + 60;
  int ok = 0;
  for (pid_t pid : children) {
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (time(nullptr) > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        break;
      }
      usleep(5000);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) ++ok;
  }
  EXPECT_EQ(ok, Writers);
  for (int w = 0; w < Writers; ++w) {
    std::string value;
    EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "v" + std::to_string(w), value)) << w;
    EXPECT_EQ(value, std::to_string(w) + "-" + std::to_string(Writes - 1));
  }
  std::string start;
  EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "start", start));
}

// A value present in more than one copy is read from the first and written to the same
// one; the other copies stay as they were.
TEST_F(RegStore, DuplicateCopiesReadAndWriteTheFirst) {
  struct Case {
    const char* Name;
    std::string Text, First, Other;
  } cases[] = {
      {"key in another case and with a trailing backslash",
       "[Software\\Vorlan\\mekcalc]\nfont=first\n[software\\vorlan\\MEKCALC\\]\nfont=second\n",
       "first", "font=second\n"},
      {"key with backslashes at both ends first",
       "[\\Software\\Vorlan\\mekcalc\\]\nfont=first\n[Software\\Vorlan\\mekcalc]\nfont=second\n",
       "first", "font=second\n"},
      {"value name in another case", "[Software\\Vorlan\\mekcalc]\nfont=first\nFONT=second\n",
       "first", "FONT=second\n"},
      {"first section without the value",
       "[Software\\Vorlan\\mekcalc]\nother=1\n[SOFTWARE\\Vorlan\\mekcalc]\nfont=first\n"
       "[software\\vorlan\\mekcalc]\nfont=second\n",
       "first", "font=second\n"},
  };
  for (const Case& c : cases) {
    WriteStore(Store(), c.Text);
    std::string value;
    EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "font", value)) << c.Name;
    EXPECT_EQ(value, c.First) << c.Name;
    EXPECT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "new")) << c.Name;
    EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "font", value)) << c.Name;
    EXPECT_EQ(value, "new") << c.Name;
    const std::string after = ReadAll(Store());
    EXPECT_NE(after.find(c.Other), std::string::npos) << c.Name << "\n" << after;
    EXPECT_EQ(after.find("=first"), std::string::npos) << c.Name << "\n" << after;
  }
}

// A store that is a symbolic link is written through the link, which stays a link.
TEST_F(RegStore, LinkedStoreIsWrittenThroughTheLink) {
  struct Case {
    const char* Name;
    std::string Target, LinkText;
  } cases[] = {
      {"absolute", dir_ + "/elsewhere/store.ini", dir_ + "/elsewhere/store.ini"},
      {"relative", dir_ + "/config/orvex/real/store.ini", "real/store.ini"},
  };
  for (const Case& c : cases) {
    WriteStore(c.Target, "[Software\\Vorlan\\mekcalc]\nother=kept\n");
    fs::create_directories(fs::path(Store()).parent_path());
    fs::remove(Store());
    fs::create_symlink(c.LinkText, Store());
    EXPECT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", c.Name)) << c.Name;
    EXPECT_TRUE(fs::is_symlink(Store())) << c.Name;
    EXPECT_EQ(fs::read_symlink(Store()).string(), c.LinkText);
    const std::string text = ReadAll(c.Target);
    EXPECT_NE(text.find(std::string("font=") + c.Name), std::string::npos) << text;
    EXPECT_NE(text.find("other=kept"), std::string::npos) << text;
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(c.Target).parent_path()),
                            fs::directory_iterator()),
              1);
  }
}

// A write changes the value's own line (or adds one) and keeps every other line of the
// store as it was, comments and lines that are no entry included, linked or not.
TEST_F(RegStore, WriteKeepsEveryOtherLine) {
  struct Case {
    const char* Name;
    std::string Before, After;
  } cases[] = {
      {"value rewritten in its line",
       "; Orvex and more\n[Software\\Vorlan\\mekcalc]\n; the input line's font\nFont=old\nnot an entry\n\n"
       "[other]\nx=1\n",
       "; Orvex and more\n[Software\\Vorlan\\mekcalc]\n; the input line's font\nFont=new\nnot an entry\n\n"
       "[other]\nx=1\n"},
      {"value added after the key's last value",
       "\xEF\xBB\xBF[Software\\Vorlan\\mekcalc]\r\nother=1\r\n; notes\r\n[next]\r\n",
       "\xEF\xBB\xBF[Software\\Vorlan\\mekcalc]\r\nother=1\r\nfont=new\r\n; notes\r\n[next]\r\n"},
      {"key added at the end", "; only a note", "; only a note\n[Software\\Vorlan\\mekcalc]\nfont=new\n"},
  };
  for (const bool linked : {false, true}) {
    const std::string target = linked ? dir_ + "/elsewhere/settings.ini" : Store();
    for (const Case& c : cases) {
      fs::remove(Store());
      WriteStore(target, c.Before);
      if (linked) fs::create_symlink(target, Store());
      EXPECT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "new")) << c.Name;
      EXPECT_EQ(ReadAll(target), c.After) << c.Name << (linked ? " (linked)" : "");
    }
  }
}

// A store without write permission is not replaced, even by a user whom permissions do
// not stop: the write reports failure and the old value stays.
TEST_F(RegStore, ReadOnlyStoreIsNotOverwritten) {
  ASSERT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "old"));
  const std::string before = ReadAll(Store());
  ASSERT_EQ(chmod(Store().c_str(), 0444), 0);
  EXPECT_FALSE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "new"));
  EXPECT_EQ(ReadAll(Store()), before);
  struct stat st;
  ASSERT_EQ(stat(Store().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  std::string value;
  EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "font", value));
  EXPECT_EQ(value, "old");
}

// A store saved by an editor with a UTF-8 byte-order mark reads from its first line.
TEST_F(RegStore, ByteOrderMarkIsSkipped) {
  WriteStore(Store(), "\xEF\xBB\xBF[Software\\Vorlan\\mekcalc]\r\nfont=x\r\n");
  std::string value;
  EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "font", value));
  EXPECT_EQ(value, "x");
  EXPECT_TRUE(RegWriteString("HKEY_CURRENT_USER", Key, "font", "y"));
  EXPECT_TRUE(RegReadString("HKEY_CURRENT_USER", Key, "font", value));
  EXPECT_EQ(value, "y");
  // The key is still there once: the write found the section behind the mark.
  const std::string text = ReadAll(Store());
  EXPECT_EQ(text.find("mekcalc]"), text.rfind("mekcalc]")) << text;
}
