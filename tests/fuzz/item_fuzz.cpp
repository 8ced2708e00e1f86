// The item fuzzing harness: one "=" of the dispatcher per input, as orvex-calc runs it.
//
// An input is read as: byte 0 picks the item (value % 58 - 1: -1 for no item, 0..56);
// byte 1 bit 0 answers the items' yes/no questions (set: yes), bit 1 hands the rest to
// the input line as raw GBK bytes (set) or as UTF-8 converted at the edge as orvex-calc
// does (clear); bytes 2.. are the input line.
//
// Built two ways from this one source. Under AFL++ (scripts/fuzz compiles it with
// afl-g++-fast, which defines __AFL_FUZZ_TESTCASE_LEN) and without file arguments it runs
// the persistent loop over the fuzzer's shared-memory inputs. Otherwise it replays the
// files and folders named on the command line, each input bounded in time, and exits
// non-zero when one takes too long; the replay test of ./test.sh runs it that way over
// the committed corpus and reproducers.
//
// The run stays on this machine and off the user's files: XDG_CONFIG_HOME and HOME point
// at a temporary folder whose services.ini sends every service to 127.0.0.1 on a port
// that is bound and never listening (a connection is refused at once); host names
// resolve only when numeric or "localhost"; item 40 walks only below a small temporary
// tree that is also the current folder.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/engine/dispatcher.h"
#include "core/codepage.h"
#include "core/mekDialogs.h"
#include "core/mekrandom.h"
#include "net/mekresolve.h"
#include "tests/engine/foldertree.h"
#include "tests/engine/loopback.h"

// Item 16 counts processor cycles over an absolute half-second sleep; the harness cannot
// afford half a second per input, so absolute sleeps of this program end at once (the
// item then reports whatever clock the short interval gives). Relative sleeps still wait.
extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* request, timespec* remain) {
  if (flags & TIMER_ABSTIME) return 0;
  if (syscall(SYS_clock_nanosleep, clock, flags, request, remain) == 0) return 0;
  return errno;
}

namespace {

// Inputs whose "=" takes longer fail the replay.
constexpr double MaxSecondsPerInput = 5.0;
// Item 40 stops after this many progress reports, so a tree of any size stays quick.
constexpr int MaxWalkReports = 2000;

class TFuzzDialogs : public TMekDialogs {
public:
  bool Answer = true;
  std::vector<std::string> Texts;  // UTF-8, as orvex-calc records them
  void ShowInfo(const std::string& message) override { Texts.push_back(GbkToUtf8(message)); }
  bool AskYesNo(const std::string& question) override {
    Texts.push_back(GbkToUtf8(question));
    return Answer;
  }
};

// True when text is well-formed UTF-8 (what orvex-calc prints must be): the strict
// decoder refuses a malformed text whole. Its one other empty result, a lone byte-order
// mark, is no text that GbkToUtf8 makes.
bool IsUtf8(const std::string& text) { return text.empty() || !Utf8ToGbkWhole(text).empty(); }

// The process-wide setting of one run of the harness.
class TFuzzWorld {
public:
  TFuzzWorld() {
    if (refusing_.Port == 0) {
      std::perror("binding the refusing port");
      std::exit(2);
    }
    const std::string port = std::to_string(refusing_.Port);

    // Everything below one temporary folder: home/, config/orvex/services.ini, and item
    // 40's tree/: a few files (1000 + 3000 + 1 + 70000 bytes), a chain of 40 folders
    // ending in a file of 5 bytes, a link to a folder and one to "/" (a walk follows
    // neither); relative inputs resolve in tree/.
    temp_.Folder("home");
    temp_.Folder("config/orvex");
    // The web items without page services take their offline tables and public sources
    // (sent to the closed port too): the paths the default set-up takes.
    std::string ini = "[services]\n";
    for (const char* key : {"presence", "lottery", "site", "contact", "geocoding", "forecast", "rates", "rdap"})
      ini += std::string(key) + "=http://127.0.0.1:" + port + "\n";
    ini += "time=127.0.0.1:" + port + "\nwhois=127.0.0.1:" + port + "\n";
    std::ofstream(temp_.Path("config/orvex/services.ini"), std::ios::binary) << ini;
    setenv("HOME", temp_.Path("home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", temp_.Path("config").c_str(), 1);
    temp_.File("tree/f.txt", 1000);
    temp_.File("tree/a/g.TXT", 3000);
    temp_.File("tree/a/b/c/h", 1);
    temp_.File("tree/d/.dot", 70000);
    temp_.Link("tree/d/link", "../a");
    temp_.Link("tree/d/root", "/");
    temp_.Chain("tree/a/b", 40, {{40, "deep", 5}});
    Tree = temp_.Path("tree");
    if (chdir(Tree.c_str()) != 0) {
      std::perror("chdir");
      std::exit(2);
    }
    TreeReal = std::filesystem::canonical(Tree).string();

    // Numeric addresses and "localhost" only: no name goes to a name server.
    SetHostResolver([](const std::string& host) -> std::optional<FIPv4Address> {
      if (host == "localhost") return FIPv4Address{127, 0, 0, 1};
      in_addr a;
      if (inet_pton(AF_INET, host.c_str(), &a) != 1) return std::nullopt;
      FIPv4Address bytes;
      std::memcpy(bytes.data(), &a.s_addr, 4);
      return bytes;
    });

    Calc.CreateWubiList();
    SetDialogs(&Dialogs);
    Calc.OnFolderProgress = [this](const std::string& name, int, bool& stop) {
      // The first report names the folder the walk was given: outside the tree, stop.
      if (walkReports_++ == 0 && !InTree(name)) stop = true;
      if (walkReports_ >= MaxWalkReports) stop = true;
    };
  }
  ~TFuzzWorld() {
    SetDialogs(nullptr);
    SetHostResolver(nullptr);
  }

  // One "=" on the input's item, answer and line, then what orvex-calc prints of it.
  void Run(const unsigned char* data, size_t size) {
    const int item = size > 0 ? data[0] % (ItemCount + 1) - 1 : -1;
    const unsigned char flags = size > 1 ? data[1] : 0;
    const std::string line = size > 2 ? std::string(reinterpret_cast<const char*>(data + 2), size - 2) : "";
    Dialogs.Answer = flags & 1;
    Dialogs.Texts.clear();
    walkReports_ = 0;
    RandSeed(20090101);  // the same input gives the same run
    Calc.ItemIndex = item;
    Calc.Edit1Text = (flags & 2) ? line : Utf8ToGbk(line);
    Calc.Button20Click();
    const std::string output = GbkToUtf8(Calc.Edit1Text), label = GbkToUtf8(Calc.Label1Text);
    bool utf8 = IsUtf8(output) && IsUtf8(label);
    for (const std::string& t : Dialogs.Texts) utf8 = utf8 && IsUtf8(t);
    if (Show) {
      std::printf("item %d -> %s\n", item, output.c_str());
      for (const std::string& t : Dialogs.Texts) std::printf("  box: %s\n", t.c_str());
    }
    if (!utf8) {
      std::fprintf(stderr, "item %d: the text orvex-calc would print is not UTF-8\n", item);
      std::abort();
    }
  }

  TDispatcher Calc;
  TFuzzDialogs Dialogs;
  // ORVEX_FUZZ_SHOW set: each run prints what orvex-calc would (for reading a reproducer).
  const bool Show = std::getenv("ORVEX_FUZZ_SHOW") != nullptr;
  std::string Tree, TreeReal;

private:
  bool InTree(const std::string& name) const {
    char resolved[PATH_MAX];
    if (!realpath(name.c_str(), resolved)) return false;
    const std::string r = resolved;
    return r == TreeReal || r.compare(0, TreeReal.size() + 1, TreeReal + "/") == 0;
  }

  TFolderTree temp_;
  // A port on 127.0.0.1, bound and never listening, that every service is sent to: nothing
  // else can take it, and every connection to it is refused at once.
  TRefusingPort refusing_;
  int walkReports_ = 0;
};

bool ReadWhole(const std::string& path, std::string& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// Replays every file named, and every file of every folder named but its notes (*.md); 0
// when each ran within MaxSecondsPerInput.
int Replay(TFuzzWorld& world, int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    const fs::path arg = argv[i];
    if (fs::is_directory(arg, ec)) {
      for (const auto& e : fs::directory_iterator(arg, ec))
        if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path().string());
    } else {
      files.push_back(arg.string());
    }
  }
  int slow = 0;
  double total = 0, longest = 0;
  for (const std::string& f : files) {
    std::string data;
    if (!ReadWhole(f, data)) {
      std::fprintf(stderr, "cannot read %s\n", f.c_str());
      return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    world.Run(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    total += s;
    if (s > longest) longest = s;
    if (s > MaxSecondsPerInput) {
      std::fprintf(stderr, "%s took %.1f s\n", f.c_str(), s);
      ++slow;
    }
  }
  std::printf("replayed %zu inputs in %.2f s (longest %.3f s), %d over %.0f s\n", files.size(), total,
              longest, slow, MaxSecondsPerInput);
  return slow ? 1 : 0;
}

}  // namespace

#ifdef __AFL_FUZZ_TESTCASE_LEN
__AFL_FUZZ_INIT();
#endif

int main(int argc, char** argv) {
  // Relative arguments name files from where the harness was started.
  std::vector<std::string> args(argv, argv + argc);
  std::vector<char*> absArgs;
  for (std::string& a : args) {
    if (&a != &args[0] && !a.empty() && a[0] != '/') a = std::filesystem::absolute(a).string();
    absArgs.push_back(a.data());
  }
  TFuzzWorld world;
#ifdef __AFL_FUZZ_TESTCASE_LEN
  // The fork server starts here, the world set up once. Each forked child ends with
  // _exit: the temporary folder belongs to the fork server, which the fuzzer ends (and
  // scripts/fuzz removes its folders). afl-fuzz, afl-showmap and afl-cmin hand the inputs
  // through shared memory (stdin when run by hand); with files named, each child replays
  // them once.
  __AFL_INIT();
  if (argc < 2) {
    const unsigned char* buf = __AFL_FUZZ_TESTCASE_BUF;
    while (__AFL_LOOP(10000)) world.Run(buf, static_cast<size_t>(__AFL_FUZZ_TESTCASE_LEN));
    _exit(0);
  }
  const int status = Replay(world, argc, absArgs.data());
  std::fflush(stdout);
  _exit(status);
#else
  return Replay(world, argc, absArgs.data());
#endif
}
