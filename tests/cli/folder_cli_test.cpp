// Item 40 (folder size) through orvex-calc, on a tree built here: paths as typed on the
// command line, Chinese folder names, trailing "/", full-width characters, missing folders.
#include <gtest/gtest.h>

#include "../engine/foldertree.h"
#include "itembatch.h"

TEST(FolderCli, Batch) {
  TFolderTree tree;
  tree.File("a", 1024);
  tree.File(".hidden/b", 512);
  tree.File("下载/c.bin", 5368709120);  // 5 GB
  tree.File("下载/空/d", 0);
  tree.Link("下载/环", "..");
  tree.File("ａ", 7);  // a full-width letter in a name
  const std::string root = tree.Root(), slash = root + "/", cn = tree.Path("下载"),
                    empty = cn + "/空", hidden = tree.Path(".hidden"), fw = tree.Path("ａ"),
                    missing = tree.Path("missing"), fwAscii = tree.Path("a");
  const char* const NoFolder = "没有找到该文件夹";
  const FCliCase cases[] = {
      {40, root.c_str(), "5.00GB", nullptr},
      {40, slash.c_str(), "5.00GB", nullptr},
      {40, cn.c_str(), "5.00GB", nullptr},
      {40, empty.c_str(), "0.00B", nullptr},
      {40, hidden.c_str(), "512.00B", nullptr},
      // "=" turns full-width characters into ASCII first, so this names "a", a file: no
      // folder, told so, the line kept.
      {40, fw.c_str(), fwAscii.c_str(), NoFolder},
      {40, missing.c_str(), missing.c_str(), NoFolder},
      {40, "", "", NoFolder},
  };
  RunCliCases(cases);
}

TEST(FolderCli, SingleRun) {
  TFolderTree tree;
  tree.File("x/y", 1536);
  const FCliResult r = RunCalc({"40", tree.Root()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1.50KB\n");
  EXPECT_EQ(r.err, "");
  const FCliResult missing = RunCalc({"--json", "40", tree.Path("nothing")});
  EXPECT_EQ(missing.status, 0) << missing.err;
  const auto j = nlohmann::json::parse(missing.out);
  EXPECT_EQ(j["output"], tree.Path("nothing"));
  EXPECT_EQ(j["messages"], nlohmann::json::array({"没有找到该文件夹"}));
}
