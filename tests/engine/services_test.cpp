// The service configuration: defaults, configured values (the README's example among
// them), a file that reading never creates, and one parsed once while it stays as it is.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/mekfilestate.h"
#include "net/mekservices.h"
#include "testenv.h"

TEST(Services, DefaultsWithoutAFileAndNothingCreated) {
  TConfigHome home;
  EXPECT_EQ(ServicesFile(), home.Path + "/orvex/services.ini");
  for (const char* key : {"weather", "mobile", "ip", "currency", "domain", "presence", "lottery",
                          "site", "contact", "rdap", "whois"})
    EXPECT_EQ(ServiceAddress(key), "") << key;
  EXPECT_EQ(ServiceAddress("time"), "time.nist.gov");
  EXPECT_EQ(ServiceAddress("geocoding"), "https://geocoding-api.open-meteo.com/v1/search");
  EXPECT_EQ(ServiceAddress("forecast"), "https://api.open-meteo.com/v1/forecast");
  EXPECT_EQ(ServiceAddress("rates"),
            "https://cdn.jsdelivr.net/npm/@fawazahmed0/currency-api@latest/v1/currencies "
            "https://currency-api.pages.dev/v1/currencies");
  EXPECT_EQ(ServiceAddress("nosuchkey"), "");
  EXPECT_FALSE(std::filesystem::exists(home.Path + "/orvex"));
}

TEST(Services, ConfiguredValues) {
  const struct {
    const char* key;
    const char* value;
  } cases[] = {
      {"weather", "http://127.0.0.1:8123"},  // key without case, blanks trimmed
      {"time", "127.0.0.1:3737"},
      {"site", ""},       // configured empty: no service
      {"mobile", ""},     // in another section: the default
      {"nosuchkey", ""},  // not a service key
  };
  // Saved with a UTF-8 byte-order mark or without.
  for (const char* mark : {"", "\xEF\xBB\xBF"}) {
    TConfigHome home;
    home.Write(std::string(mark) + "[Services]\r\n; test services\r\n Weather = http://127.0.0.1:8123 \r\n"
               "time=127.0.0.1:3737\r\nsite=\r\nnosuchkey=x\r\n[other]\r\nmobile=http://elsewhere\r\n");
    for (const auto& c : cases) EXPECT_EQ(ServiceAddress(c.key), c.value) << c.key << " " << mark;
  }
}

// The README's example, pasted as it stands, gives the plain addresses.
TEST(Services, TheReadmeExampleAsPasted) {
  std::ifstream in(ORVEX_README, std::ios::binary);
  const std::string readme{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const size_t start = readme.find("```ini\n[services]\n");
  ASSERT_NE(start, std::string::npos);
  const size_t end = readme.find("```\n", start + 7);
  ASSERT_NE(end, std::string::npos);
  TConfigHome home;
  home.Write(readme.substr(start + 7, end - start - 7));
  const struct {
    const char* key;
    const char* value;
  } cases[] = {
      {"weather", "http://127.0.0.1:8123"}, {"mobile", "http://127.0.0.1:8080"},
      {"ip", "http://127.0.0.1:8123"},      {"currency", "http://127.0.0.1:8123"},
      {"domain", "http://127.0.0.1:8123"},  {"presence", "http://127.0.0.1:8123"},
      {"lottery", "http://127.0.0.1:8123"}, {"site", "http://127.0.0.1:8123"},
      {"contact", "123456"},                {"time", "time.nist.gov"},
      {"geocoding", "https://geocoding-api.open-meteo.com/v1/search"},
      {"rates",
       "https://cdn.jsdelivr.net/npm/@fawazahmed0/currency-api@latest/v1/currencies "
       "https://currency-api.pages.dev/v1/currencies"},
      {"rdap", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ServiceAddress(c.key), c.value) << c.key;
}

namespace {

// The bytes this process has read so far, or -1 where the kernel does not tell.
long long BytesRead() {
  std::ifstream io("/proc/self/io");
  for (std::string key; io >> key;) {
    long long value = -1;
    io >> value;
    if (key == "rchar:") return value;
  }
  return -1;
}

}  // namespace

// A file dated a year ahead (a copy that kept an archive's times) is parsed once while it
// stays as it is, not again at every look-up.
TEST(Services, AFileDatedInTheFutureIsParsedOnce) {
  if (BytesRead() < 0) GTEST_SKIP() << "no /proc/self/io";
  TConfigHome home;
  std::string text = "[services]\ntime=127.0.0.1:3737\n";
  while (text.size() < (1u << 20)) text += "; a note of the kind a long file holds\n";
  home.Write(text);
  const timespec ahead{std::time(nullptr) + 365 * 86400, 0};
  const timespec times[2] = {ahead, ahead};
  ASSERT_EQ(utimensat(AT_FDCWD, ServicesFile().c_str(), times, 0), 0);
  sleep(SettleSeconds + 1);  // the change time, now, settles; the modification time stays ahead
  EXPECT_EQ(ServiceAddress("time"), "127.0.0.1:3737");
  const long long before = BytesRead();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ServiceAddress("time"), "127.0.0.1:3737");
  EXPECT_LT(BytesRead() - before, static_cast<long long>(text.size()));
}
