// Folder size: item 40 on trees built here (units, 64-bit totals, hidden files, links,
// unreadable folders, missing paths, a tree 5,000 folders deep), the walk's progress
// reports, mask and stop flag, FileSizeOf, and a second run refused during a walk.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>

#include "app/engine/dispatcher.h"
#include "app/engine/items_folder.h"
#include "core/codepage.h"
#include "foldertree.h"
#include "system/mekFindFile.h"
#include "testutil.h"

namespace {

constexpr int64_t KB = 1024, MB = KB * KB, GB = MB * KB;

const char* const NoFolder = "没有找到该文件夹";

// Item 40's input line after "=" on typed, with the message it must show (none: nullptr).
std::string Item40(const std::string& typed, const char* message = nullptr) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = 40;
  calc.Edit1Text = typed;
  calc.Button20Click();
  EXPECT_EQ(dialogs.Messages, message ? std::vector<std::string>{message} : std::vector<std::string>{})
      << typed;
  EXPECT_FALSE(calc.FolderWalking);
  return calc.Edit1Text;
}

// A path typed into the input line and the line after "=".
struct FTypedCase {
  std::string Typed;
  std::string Text;
  const char* Message = nullptr;
};

struct FReport {
  std::string Name;
  int Code;
  int64_t Size;
  bool operator==(const FReport&) const = default;
};

// The walk's count and every report it made.
std::pair<int64_t, std::vector<FReport>> Walk(const std::string& path, const std::string& mask) {
  std::vector<FReport> reports;
  const int64_t n = WalkFolder(path, mask, [&](const std::string& name, int code, int64_t size, bool&) {
    reports.push_back({name, code, size});
  });
  return {n, reports};
}

int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

}  // namespace

// One tree per case; the path typed with and without a trailing "/" gives the same.
TEST(FolderSize, TotalsOfTrees) {
  const struct {
    std::vector<std::pair<std::string, int64_t>> Files;
    const char* Text;
  } cases[] = {
      {{}, "0.00B"},
      {{{"a", 1024}}, "1024.00B"},
      {{{"a", 1025}}, "1.00KB"},
      {{{"a", 1536}}, "1.50KB"},
      {{{"a", 1152}}, "1.12KB"},  // 1.125: an exact half goes to the even neighbour
      {{{"x/a", 512 * KB}, {"x/y/b", 256 * KB}, {"c", 256 * KB}}, "1024.00KB"},
      {{{"x/a", 512 * KB}, {"x/y/b", 256 * KB}, {"c", 256 * KB}, {"x/y/z/e", 1}}, "1.00MB"},
      {{{"sub/big", 1610612736}}, "1.50GB"},
      // Beyond 32 bits, a file and a total.
      {{{"a", 3 * GB}}, "3.00GB"},
      {{{"a", 5 * GB}, {"b/c", 5 * GB}, {"b/d", 6 * GB}}, "16.00GB"},
      {{{"a", 1024 * GB}}, "1024.00GB"},
      {{{"a", 1536 * GB}, {"b/c", 512 * GB}}, "2048.00GB"},  // GB is the largest unit
      // Hidden files and folders count; empty files and folders add nothing.
      {{{".h", 100}, {".dir/.x", 200}, {".dir/v", 724}, {"e/empty", 0}}, "1024.00B"},
  };
  for (const auto& c : cases) {
    TFolderTree tree;
    for (const auto& [rel, size] : c.Files) tree.File(rel, size);
    tree.Folder("empty/folder");
    EXPECT_EQ(Item40(tree.Root()), c.Text);
    EXPECT_EQ(Item40(tree.Root() + "/"), c.Text);
  }
}

TEST(FolderSize, WhatIsNotCounted) {
  TFolderTree outside;
  outside.File("big", 5 * GB);
  outside.File("folder/big", 7 * GB);
  TFolderTree tree;
  tree.File("a", 1000);
  tree.File("sub/b", 24);
  tree.Link("loop", ".");                      // links back into the tree
  tree.Link("sub/up", "..");
  tree.Link("sub/again", tree.Root());
  tree.Link("bigfile", outside.Path("big"));   // links to what lies outside
  tree.Link("bigfolder", outside.Path("folder"));
  tree.Link("dangling", tree.Path("nowhere"));
  ASSERT_EQ(mkfifo(tree.Path("pipe").c_str(), 0644), 0);  // never opened, so no wait
  tree.File("plain", 0);

  const FTypedCase cases[] = {
      {tree.Root(), "1024.00B"},
      {tree.Path("sub"), "24.00B"},
      {tree.Path("bigfolder"), "7.00GB"},  // a link typed as the folder is the folder itself
      // What is no folder is told so, and the line kept (no 0.00B).
      {tree.Path("a"), tree.Path("a"), NoFolder},  // a file is no folder
      {tree.Path("missing"), tree.Path("missing"), NoFolder},
      {tree.Path("missing/"), tree.Path("missing/"), NoFolder},
      {"", "", NoFolder},
      {tree.Path("sub") + "\\", tree.Path("sub") + "\\", NoFolder},  // "\" is part of a name here
      {tree.Root() + std::string(1, '\0'), tree.Root() + std::string(1, '\0'), NoFolder},  // no name holds a NUL byte
      // File systems that store no files: neither entered nor counted.
      {"/proc", "0.00B"},
      {"/sys", "0.00B"},
      {"/dev/pts", "0.00B"},
  };
  for (const auto& c : cases) EXPECT_EQ(Item40(c.Typed, c.Message), c.Text) << c.Typed;
}

// The input line is GBK; the file system names folders in UTF-8.
TEST(FolderSize, ChineseFolderName) {
  TFolderTree tree;
  tree.File(GbkToUtf8("文件夹/说明.txt"), 2048);
  EXPECT_EQ(Item40(tree.Root() + "/文件夹"), "2.00KB");
  EXPECT_EQ(Item40(tree.Root() + "/文件夹/"), "2.00KB");
}

// Folders that cannot be listed or searched contribute nothing and the walk goes on; a
// folder that cannot be listed itself gives 0.00B. Permissions do not stop root, so as
// root the item runs in a child process as the user nobody.
TEST(FolderSize, UnreadableFoldersSkipped) {
  TFolderTree tree;
  tree.File("a", 1024);
  tree.File("locked/x", 5000);
  tree.File("locked/sub/y", 7000);
  tree.File("listonly/z", 9000);
  tree.File("open/b", 24);
  tree.File("open/zz/c", 1000);
  ASSERT_EQ(chmod(tree.Path("locked").c_str(), 0), 0);
  ASSERT_EQ(chmod(tree.Path("listonly").c_str(), 0444), 0);  // names, but no way in

  const FTypedCase cases[] = {
      {tree.Root(), "2.00KB"},
      {tree.Path("locked"), "0.00B"},
      {tree.Path("listonly"), "0.00B"},
      {tree.Path("open"), "1024.00B"},
  };
  const bool asRoot = geteuid() == 0;
  for (const auto& c : cases) {
    if (!asRoot) {
      EXPECT_EQ(Item40(c.Typed), c.Text) << c.Typed;
      continue;
    }
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(out[0]);
      if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
      const std::string text = Item40(c.Typed);
      _exit(write(out[1], text.data(), text.size()) == ssize_t(text.size()) ? 0 : 4);
    }
    close(out[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    EXPECT_EQ(text, c.Text) << c.Typed;
  }
}

// 5,000 nested folders: paths far beyond what the kernel takes in one piece, and more
// folders than descriptors a process may hold. Every file is reached and no more than a
// few dozen folders are open at once.
TEST(FolderSize, DeepTree) {
  TFolderTree tree;
  tree.File("top", 5);
  tree.Folder("x");
  const int depth = 5000;
  std::vector<TFolderTree::FChainFile> files = {{1, "f", 1}, {depth, "f", 7 * GB}};
  int64_t total = 5 + 1 + 7 * GB;
  // Side chains along the way, 40 folders deep: whichever of a folder's two subfolders the
  // file system lists first, the walk comes back to the folder from far enough below that
  // it had let the folder's descriptor go, and goes on with the other.
  for (int level = 250; level < depth; level += 250) {
    files.push_back({level, "s", level, 40});
    total += level;
  }
  tree.Chain("x", depth, files);

  const int before = OpenDescriptors();
  int most = 0;
  size_t longest = 0;
  int64_t sum = 0;
  const int64_t n = WalkFolder(tree.Root(), "*.*", [&](const std::string& name, int code, int64_t size, bool&) {
    if (code == WalkFileCounted) sum += size;
    if (code == WalkFileFound) most = std::max(most, OpenDescriptors());
    longest = std::max(longest, name.size());
  });
  EXPECT_EQ(n, 3 + (depth - 1) / 250);
  EXPECT_EQ(sum, total);
  EXPECT_GT(longest, size_t(2 * depth));
  EXPECT_GT(longest, size_t(PATH_MAX));
  EXPECT_LE(most - before, 40);
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(Item40(tree.Root()), FolderSizeText(total));
}

// The reports of a walk, in order: a folder when its walk starts and after each
// subfolder, each file when found and again when counted, with the size read by the walk.
TEST(FolderWalk, ProgressReports) {
  TFolderTree tree;
  tree.File("sub/g.txt", 10);
  tree.Folder("sub/empty");
  const std::string root = tree.Root(), sub = root + "/sub", g = sub + "/g.txt";
  const std::vector<FReport> walked = {
      {root, 1, 0}, {sub, 1, 0}, {g, 2, 10}, {g, 0, 10}, {sub + "/empty", 1, 0}, {sub, 1, 0}, {root, 1, 0},
  };
  // The empty folder may be listed before the file.
  std::vector<FReport> emptyFirst = walked;
  std::rotate(emptyFirst.begin() + 2, emptyFirst.begin() + 4, emptyFirst.begin() + 6);
  for (const std::string& typed : {root, root + "/"}) {
    const auto [n, reports] = Walk(typed, "*.*");
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(reports == walked || reports == emptyFirst) << typed;
  }
  // A folder that is not there is announced and yields nothing; an empty path not even that.
  EXPECT_EQ(Walk(root + "/none", "*.*"), std::make_pair(int64_t(0), std::vector<FReport>{{root + "/none", 1, 0}}));
  EXPECT_EQ(Walk("", "*.*"), std::make_pair(int64_t(0), std::vector<FReport>{}));
  // The root folder: names joined without doubling its "/".
  std::string first;
  WalkFolder("/", "*.*", [&](const std::string& name, int code, int64_t, bool& stop) {
    if (code == WalkFileFound) {
      first = name;
      stop = true;
    }
  });
  EXPECT_EQ(first.rfind('/', 0), 0u) << first;
  EXPECT_EQ(first.find("//"), std::string::npos) << first;
}

// A file counts when the mask holds "*.*" or its extension (any case), as a substring.
TEST(FolderWalk, Mask) {
  TFolderTree tree;
  for (const char* name : {"a.txt", "s/b.TXT", "s/c.tx", "d", "s/t/e.t", "f.doc", "g.", ".txt"})
    tree.File(name, 1);
  const struct {
    const char* Mask;
    int64_t Counted;
  } cases[] = {
      {"*.*", 8}, {"*.TXT", 6}, {"*.txt", 6}, {"*.doc", 2}, {"*.doc;*.txt", 7},
      {"", 0},    {"txt", 0},   {".TXT", 6},  {"*.pdf", 1},
  };
  for (const auto& c : cases) {
    const auto [n, reports] = Walk(tree.Root(), c.Mask);
    EXPECT_EQ(n, c.Counted) << c.Mask;
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(), [](const FReport& r) { return r.Code == 0; }), n);
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(), [](const FReport& r) { return r.Code == 2; }), 8);
  }
}

// The flag is looked at before each entry: the entry at hand is finished, each folder
// left is announced once more, and nothing else is taken.
TEST(FolderWalk, StopFlag) {
  TFolderTree tree;
  for (const char* name : {"a/b/c/1", "a/b/c/2", "a/b/3", "a/4", "e/5", "e/6"}) tree.File(name, 1);
  std::vector<FReport> reports;
  const int64_t n = WalkFolder(tree.Root(), "*.*", [&](const std::string& name, int code, int64_t size, bool& stop) {
    reports.push_back({name, code, size});
    if (code == WalkFileFound) stop = true;
  });
  EXPECT_EQ(n, 1);
  const auto found = std::find_if(reports.begin(), reports.end(), [](const FReport& r) { return r.Code == 2; });
  ASSERT_NE(found, reports.end());
  ASSERT_NE(found + 1, reports.end());
  EXPECT_EQ(found[1].Code, 0);
  for (auto r = found + 2; r != reports.end(); ++r) {
    EXPECT_EQ(r->Code, 1);
    EXPECT_EQ(found->Name.rfind(r->Name + "/", 0), 0u) << r->Name << " is no folder above " << found->Name;
  }
  EXPECT_EQ(reports.back().Name, tree.Root());
}

TEST(FolderWalk, FileSizeOf) {
  TFolderTree tree;
  tree.File("a", 1234);
  tree.File("big", 5 * GB);
  tree.File("empty", 0);
  tree.Link("link", tree.Path("big"));
  tree.Folder("sub");
  const struct {
    std::string Name;
    int64_t Size;
  } cases[] = {
      {tree.Path("a"), 1234},
      {tree.Path("big"), 5 * GB},
      {tree.Path("empty"), 0},
      {tree.Path("link"), int64_t(tree.Path("big").size())},  // the link itself
      {tree.Path("sub"), 0},
      {tree.Path("none"), -1},
      {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FileSizeOf(c.Name), c.Size) << c.Name;
}

// The window handles its messages during a walk, so "=" may come again before the walk is
// over: that run changes nothing, and the walk in progress keeps its total. The hook may
// also end the walk (the window does when it is closed).
TEST(FolderSize, SecondRunRefusedWhileWalking) {
  TFolderTree tree;
  tree.File("a/1", 3 * GB);
  tree.File("b/2", GB);
  tree.File("c/3", 2 * GB);
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = 40;
  calc.Edit1Text = tree.Root();
  int reports = 0, nested = 0;
  calc.OnFolderProgress = [&](const std::string&, int code, bool&) {
    ++reports;
    if (code == WalkFileCounted) {
      const int64_t before = calc.FolderTotal;
      const int seen = reports;
      calc.Button20Click();  // "=" pressed again while the window handled its messages
      ++nested;
      EXPECT_EQ(calc.FolderTotal, before);
      EXPECT_EQ(reports, seen);  // no second walk
      EXPECT_TRUE(calc.FolderWalking);
    }
  };
  calc.Button20Click();
  EXPECT_EQ(nested, 3);
  EXPECT_EQ(calc.Edit1Text, "6.00GB");
  EXPECT_FALSE(calc.FolderWalking);
  EXPECT_TRUE(dialogs.Messages.empty());

  // Afterwards the item runs again; a hook that ends the walk at once leaves 0.00B.
  calc.Edit1Text = tree.Root();
  calc.OnFolderProgress = [](const std::string&, int, bool& stop) { stop = true; };
  calc.Button20Click();
  EXPECT_EQ(calc.Edit1Text, "0.00B");
  calc.Edit1Text = tree.Path("b");
  calc.OnFolderProgress = nullptr;
  calc.Button20Click();
  EXPECT_EQ(calc.Edit1Text, "1024.00MB");
  EXPECT_EQ(calc.FolderTotal, GB);
}
