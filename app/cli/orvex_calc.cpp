// orvex-calc: runs the calculator's "=" from the command line, on the same dispatcher
// and item handlers as the window. Text crosses this edge as UTF-8 and is GBK inside.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/engine/dispatcher.h"
#include "core/codepage.h"
#include "core/mekDialogs.h"
#include "core/meknum.h"
#include "core/mekrandom.h"

namespace {

const char* const HelpText =
    "Usage: orvex-calc [OPTIONS] ITEM [TEXT]\n"
    "       orvex-calc [OPTIONS] --batch < LINES\n"
    "       orvex-calc --list | --help | --version\n"
    "\n"
    "Runs \"=\" of the calculator for item ITEM (the selector's index, 0-56; -1 means no\n"
    "item selected) on the input line TEXT (UTF-8, empty when absent), and prints the input\n"
    "line afterwards. Each message box is printed on stderr as \"提示: MESSAGE\".\n"
    "\n"
    "Options:\n"
    "  --answer yes|no  answer to the yes/no questions (default yes); each question is\n"
    "                   printed on stderr like a message\n"
    "  --json           print one JSON object instead: item, input, output, label,\n"
    "                   messages, questions; nothing on stderr\n"
    "  --batch          read lines ITEM<TAB>TEXT from stdin and run them in order in one\n"
    "                   calculator, printing one JSON object per line\n"
    "  --list           list the items: index, TAB, label, TAB, prompt\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 when the run completed, 2 on a usage error.\n";

// Message boxes of the command line: recorded, and printed at once unless quiet.
class TCliDialogs : public TMekDialogs {
public:
  bool Quiet = false;
  bool Answer = true;
  std::vector<std::string> Messages, Questions;  // UTF-8

  void ShowInfo(const std::string& message) override { Record(Messages, message); }
  bool AskYesNo(const std::string& question) override {
    Record(Questions, question);
    return Answer;
  }

private:
  void Record(std::vector<std::string>& list, const std::string& gbk) {
    std::string text = GbkToUtf8(gbk);
    if (!Quiet) {
      std::string shown = text;
      for (char& c : shown)
        if (c == '\r') c = '\n';
      std::fprintf(stderr, "提示: %s\n", shown.c_str());
    }
    list.push_back(std::move(text));
  }
};

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "orvex-calc: %s (see --help)\n", reason.c_str());
  return 2;
}

bool ReadItem(const std::string& text, int& item) {
  int32_t v;
  if (!TryStrToInt(text, v)) return false;
  item = v;
  return true;
}

// Runs one "=" and returns its JSON record.
nlohmann::ordered_json RunOne(TDispatcher& calc, TCliDialogs& dialogs, int item, const std::string& utf8) {
  dialogs.Messages.clear();
  dialogs.Questions.clear();
  calc.ItemIndex = item;
  calc.Edit1Text = Utf8ToGbk(utf8);
  calc.Button20Click();
  return nlohmann::ordered_json{{"item", item},
                        {"input", utf8},
                        {"output", GbkToUtf8(calc.Edit1Text)},
                        {"label", GbkToUtf8(calc.Label1Text)},
                        {"messages", dialogs.Messages},
                        {"questions", dialogs.Questions}};
}

std::string Dump(const nlohmann::ordered_json& j) {
  return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void ListItems() {
  for (int i = 0; i < ItemCount; ++i) {
    std::string prompt = GbkToUtf8(ItemAt(i).Prompt);
    std::string shown;
    for (char c : prompt) {
      if (c == '\r') shown += "\\r";
      else shown += c;
    }
    std::printf("%d\t%s\t%s\n", i, GbkToUtf8(ItemAt(i).Label).c_str(), shown.c_str());
  }
}

int RunBatch(TDispatcher& calc, TCliDialogs& dialogs) {
  std::ios::sync_with_stdio(false);
  std::string line, out;
  long lineNo = 0;
  int status = 0;
  while (std::getline(std::cin, line)) {
    ++lineNo;
    if (line.empty()) continue;
    const size_t tab = line.find('\t');
    const std::string itemText = line.substr(0, tab);
    const std::string text = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    int item;
    if (!ReadItem(itemText, item)) {
      out += Dump(nlohmann::ordered_json{{"line", lineNo}, {"error", "ITEM is not an integer"}});
      status = 2;
    } else {
      out += Dump(RunOne(calc, dialogs, item, text));
    }
    out += '\n';
    if (out.size() > (1 << 16)) {
      std::cout << out;
      out.clear();
    }
  }
  std::cout << out << std::flush;
  if (status) std::fprintf(stderr, "orvex-calc: some lines had no integer ITEM\n");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  bool json = false, batch = false;
  TCliDialogs dialogs;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(HelpText, stdout);
      return 0;
    } else if (a == "--version") {
      std::puts("orvex-calc 4.0");
      return 0;
    } else if (a == "--list") {
      ListItems();
      return 0;
    } else if (a == "--json") {
      json = true;
    } else if (a == "--batch") {
      batch = true;
    } else if (a == "--answer" || a.rfind("--answer=", 0) == 0) {
      std::string v;
      if (a == "--answer") {
        if (++i >= argc) return UsageError("--answer needs yes or no");
        v = argv[i];
      } else {
        v = a.substr(9);
      }
      if (v == "yes") dialogs.Answer = true;
      else if (v == "no") dialogs.Answer = false;
      else return UsageError("--answer needs yes or no, not '" + v + "'");
    } else if (a == "--") {
      for (++i; i < argc; ++i) positional.push_back(argv[i]);
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return UsageError("unknown option " + a);
    } else {
      positional.push_back(a);
    }
  }

  TDispatcher calc;
  calc.CreateWubiList();  // once for the run, as the window does when it is created
  SetDialogs(&dialogs);
  Randomize();  // seeded from the clock, as the window does when it is created

  if (batch) {
    if (!positional.empty()) return UsageError("--batch takes no ITEM or TEXT");
    dialogs.Quiet = true;
    return RunBatch(calc, dialogs);
  }
  if (positional.empty()) return UsageError("missing ITEM");
  if (positional.size() > 2) return UsageError("too many arguments; quote TEXT");
  int item;
  if (!ReadItem(positional[0], item)) return UsageError("ITEM must be an integer, not '" + positional[0] + "'");
  const std::string text = positional.size() > 1 ? positional[1] : std::string();
  dialogs.Quiet = json;
  const nlohmann::ordered_json record = RunOne(calc, dialogs, item, text);
  if (json) {
    std::puts(Dump(record).c_str());
  } else {
    std::printf("%s\n", record["output"].get<std::string>().c_str());
  }
  return 0;
}
