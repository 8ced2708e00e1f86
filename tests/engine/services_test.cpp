// The service configuration: defaults, configured values (the README's example among
// them), and a file that reading never creates.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "testenv.h"
#include "net/mekservices.h"

TEST(Services, DefaultsWithoutAFileAndNothingCreated) {
  TConfigHome home;
  EXPECT_EQ(ServicesFile(), home.Path + "/orvex/services.ini");
  for (const char* key : {"weather", "mobile", "ip", "currency", "domain", "presence", "lottery",
                          "site", "contact"})
    EXPECT_EQ(ServiceAddress(key), "") << key;
  EXPECT_EQ(ServiceAddress("time"), "time.nist.gov");
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
  };
  for (const auto& c : cases) EXPECT_EQ(ServiceAddress(c.key), c.value) << c.key;
}
