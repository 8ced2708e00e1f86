// The settings store in a temporary configuration folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
