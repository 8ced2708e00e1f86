// JSON strings written directly agree byte for byte with a JSON library's own output
// (malformed UTF-8 replaced), on chosen and on random texts.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "core/mekjson.h"
#include "testutil.h"

namespace {

std::string Library(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Written(const std::string& text) {
  std::string out = "x";  // appended to what is there
  AppendJsonString(out, text);
  return out.substr(1);
}

}  // namespace

TEST(JsonString, AgreesWithTheLibraryOnChosenTexts) {
  const std::vector<std::string> texts = {
      "", "abc", "a\"b\\c/d", std::string("\0\x01\x1F\x7F", 4), "\b\t\n\f\r",
      "\xE4\xB8\xAD\xE6\x96\x87",  // 中文
      "\xF0\x9F\x98\x80", "\xEF\xBF\xBD", "\xEF\xBB\xBF",
      "\x80", "\xBF\x80", "\xC0\x80", "\xC1\xBF", "\xC2", "\xC2" "a", "\xE0\x80\x80", "\xE0\xA0",
      "\xE0\xA0" "a", "\xED\xA0\x80", "\xED\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF0\x90\x80",
      "\xF4\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80", "\xFF\xFE", "a\xE4\xB8", "\xE4\xB8\xE4\xB8\xAD",
  };
  for (const std::string& t : texts) EXPECT_EQ(Written(t), Library(t)) << Library(t);
}

TEST(JsonString, AgreesWithTheLibraryOnRandomBytes) {
  TRandomTexts texts({"a", "\"", "\\", std::string(1, '\0'), "\n", "\x1F", "\x7F", "\x80", "\xBF",
                      "\xC0", "\xC2", "\xE0", "\xE4", "\xED", "\xA0", "\x9F", "\x90", "\x8F", "\xF0",
                      "\xF4", "\xF5", "\xFF", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"},
                     20261211, 15);
  for (int n = 0; n < 50000; ++n) {
    const std::string text = texts.Next();
    ASSERT_EQ(Written(text), Library(text)) << Library(text);
  }
}
