// orvex-calc: runs the calculator's "=" from the command line, on the same dispatcher
// and item handlers as the window. Text crosses this edge as UTF-8 and is GBK inside.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/engine/dispatcher.h"
#include "core/codepage.h"
#include "core/mekDialogs.h"
#include "core/mekjson.h"
#include "core/meknum.h"
#include "core/mekrandom.h"
#include "orvex_version.h"

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
    "  --batch          read lines ITEM<TAB>TEXT from stdin (ending in LF or CR LF; blank\n"
    "                   lines skipped) and run them in order in one calculator, printing\n"
    "                   one JSON object per line\n"
    "  --list           list the items: index, TAB, label, TAB, prompt\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 when the run completed, 2 on a usage error, 1 when the output could\n"
    "not be written (--batch stops at the first failed write).\n";

// Message boxes of the command line: recorded, and printed at once unless quiet.
class TCliDialogs : public TMekDialogs {
public:
  bool Quiet = false;
  bool Answer = true;
  bool WriteFailed = false;  // a message could not be printed
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
      if (std::fprintf(stderr, "提示: %s\n", shown.c_str()) < 0) WriteFailed = true;
    }
    list.push_back(std::move(text));
  }
};

// The exit status of a run whose output could not be written (a full disk, a closed pipe).
const int WriteFailedStatus = 1;

// status, or WriteFailedStatus when anything written to stdout could not be written.
int Finish(int status) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) return WriteFailedStatus;
  return status;
}

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

// Runs one "=" of item on the UTF-8 text; the input line afterwards, in UTF-8.
std::string RunOne(TDispatcher& calc, TCliDialogs& dialogs, int item, const std::string& utf8) {
  dialogs.Messages.clear();
  dialogs.Questions.clear();
  // Choosing another item shows its prompt, as the selector does in the window.
  if (calc.ItemIndex != item) {
    calc.ItemIndex = item;
    calc.ComboBox1Change();
  }
  calc.Edit1Text = Utf8ToGbk(utf8);
  calc.Button20Click();
  return GbkToUtf8(calc.Edit1Text);
}

void AppendJsonList(std::string& out, const std::vector<std::string>& texts) {
  out += '[';
  for (size_t k = 0; k < texts.size(); ++k) {
    if (k) out += ',';
    AppendJsonString(out, texts[k]);
  }
  out += ']';
}

// Appends the JSON record of the "=" just run, written straight into out:
// {"item":N,"input":…,"output":…,"label":…,"messages":[…],"questions":[…]}.
void AppendRecord(std::string& out, const TDispatcher& calc, const TCliDialogs& dialogs, int item,
                  const std::string& input, const std::string& output) {
  // The label is the same text after most runs of "=": converted once.
  static std::string labelGbk, labelUtf8;
  if (calc.Label1Text != labelGbk) {
    labelGbk = calc.Label1Text;
    labelUtf8 = GbkToUtf8(labelGbk);
  }
  out += "{\"item\":";
  out += std::to_string(item);
  out += ",\"input\":";
  AppendJsonString(out, input);
  out += ",\"output\":";
  AppendJsonString(out, output);
  out += ",\"label\":";
  AppendJsonString(out, labelUtf8);
  out += ",\"messages\":";
  AppendJsonList(out, dialogs.Messages);
  out += ",\"questions\":";
  AppendJsonList(out, dialogs.Questions);
  out += '}';
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

// Writes out to stdout; false when it could not be written whole.
bool WriteOut(const std::string& out) {
  return std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
}

int RunBatch(TDispatcher& calc, TCliDialogs& dialogs) {
  std::ios::sync_with_stdio(false);
  std::string line, out;
  long lineNo = 0;
  int status = 0;
  while (std::getline(std::cin, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a CR LF line end
    if (line.empty()) continue;
    const size_t tab = line.find('\t');
    const std::string itemText = line.substr(0, tab);
    const std::string text = tab == std::string::npos ? std::string() : line.substr(tab + 1);
    int item;
    if (!ReadItem(itemText, item)) {
      out += "{\"line\":" + std::to_string(lineNo) + ",\"error\":\"ITEM is not an integer\"}";
      status = 2;
    } else {
      const std::string output = RunOne(calc, dialogs, item, text);
      AppendRecord(out, calc, dialogs, item, text, output);
    }
    out += '\n';
    if (out.size() > (1 << 16)) {
      if (!WriteOut(out)) return WriteFailedStatus;  // no one to compute the rest for
      out.clear();
    }
  }
  if (!WriteOut(out)) return WriteFailedStatus;
  if (status) std::fprintf(stderr, "orvex-calc: some lines had no integer ITEM\n");
  return Finish(status);
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
      return Finish(0);
    } else if (a == "--version") {
      std::puts("orvex-calc " ORVEX_VERSION);
      return Finish(0);
    } else if (a == "--list") {
      ListItems();
      return Finish(0);
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
  const std::string output = RunOne(calc, dialogs, item, text);
  if (json) {
    std::string record;
    AppendRecord(record, calc, dialogs, item, text, output);
    std::puts(record.c_str());
  } else {
    std::printf("%s\n", output.c_str());
  }
  const int status = Finish(0);
  return dialogs.WriteFailed ? WriteFailedStatus : status;
}
