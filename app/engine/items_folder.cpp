// Item 40: the space the files of a folder and of all its subfolders take.
#include "app/engine/items_folder.h"

#include <filesystem>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/codepage.h"
#include "core/mekDialogs.h"
#include "core/mekmath.h"
#include "system/mekFindFile.h"

std::string FolderSizeText(int64_t bytes) {
  static const char* const Units[] = {"B", "KB", "MB", "GB"};
  double v = static_cast<double>(bytes);
  int unit = 0;
  for (int step = 0; step < 3; ++step)
    if (v > 1024) {
      v /= 1024;
      ++unit;
    }
  return FormatFixed(v, 2) + Units[unit];
}

void Item40FolderSize(TDispatcher& calc) {
  // The window handles its messages during the walk, so "=" can come again meanwhile; that
  // run would reset the total under the walk, and is refused without a word.
  if (calc.FolderWalking) return;
  calc.FolderWalking = true;
  struct FDone {
    bool& Walking;
    ~FDone() { Walking = false; }
  } done{calc.FolderWalking};
  calc.FolderTotal = 0;
  // The input line is GBK; the file system's names are UTF-8. A folder that is not there
  // is told so, rather than measured as 0.00B.
  const std::string folder = GbkToUtf8(calc.Edit1Text);
  std::error_code error;
  if (folder.empty() || folder.find('\0') != std::string::npos ||
      !std::filesystem::is_directory(folder, error)) {
    ShowInfo("没有找到该文件夹");
    return;
  }
  WalkFolder(folder, "*.*",
             [&calc](const std::string& name, int code, int64_t size, bool& stop) {
               if (code == WalkFileCounted) calc.FolderTotal += size;
               if (calc.OnFolderProgress) calc.OnFolderProgress(name, code, stop);
             });
  calc.Edit1Text = FolderSizeText(calc.FolderTotal);
}
