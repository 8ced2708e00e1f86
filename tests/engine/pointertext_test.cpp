// Item 47's texts: what a query of an element's name or value shows, and the input line
// that F5 over the element gives.
#include <gtest/gtest.h>

#include <optional>

#include "app/engine/pointertext.h"

TEST(PointerText, AnswerTexts) {
  // The element's text arrives as UTF-8 (written here in escapes: these literals are
  // GBK) and is shown as GBK.
  struct Case {
    TAccStatus Status;
    const char* Utf8;
    const char* Text;
  } cases[] = {
      {TAccStatus::Ok, "\xE7\xA1\xAE\xE5\xAE\x9A", "确定"},
      {TAccStatus::Ok, "abc", "abc"},
      {TAccStatus::Ok, "", ""},
      {TAccStatus::Ok, "\xE2\x98\x83x", "?x"},  // U+2603 is not in GBK
      {TAccStatus::NoText, "abc", "无"},
      {TAccStatus::NotSupported, "", "数值没有发现"},
      {TAccStatus::InvalidArg, "", "非法"},
      {TAccStatus::Failed, "abc", "未知"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AccAnswerText({c.Status, c.Utf8}), c.Text) << static_cast<int>(c.Status);
}

TEST(PointerText, ErrorsOfTheBus) {
  struct Case {
    const char* Name;
    TAccStatus Status;
  } cases[] = {
      {"org.freedesktop.DBus.Error.UnknownMethod", TAccStatus::NotSupported},
      {"org.freedesktop.DBus.Error.UnknownInterface", TAccStatus::NotSupported},
      {"org.freedesktop.DBus.Error.UnknownProperty", TAccStatus::NotSupported},
      {"org.freedesktop.DBus.Error.NotSupported", TAccStatus::NotSupported},
      {"org.freedesktop.DBus.Error.InvalidArgs", TAccStatus::InvalidArg},
      {"org.freedesktop.DBus.Error.NoReply", TAccStatus::Failed},  // no answer in time
      {"org.freedesktop.DBus.Error.UnknownObject", TAccStatus::Failed},  // gone
      {"org.freedesktop.DBus.Error.ServiceUnknown", TAccStatus::Failed},
      {"org.freedesktop.DBus.Error.Disconnected", TAccStatus::Failed},
      {"org.example.Error.UnknownMethod", TAccStatus::Failed},
      {"", TAccStatus::Failed},
  };
  for (const Case& c : cases) EXPECT_EQ(AccStatusOfError(c.Name), c.Status) << c.Name;
}

TEST(PointerText, LineFromNameAndValue) {
  const std::optional<std::string> failed;
  struct Case {
    std::string Name;
    std::optional<std::string> Value;
    std::string Line;
  } cases[] = {
      {"确定", "无", "标签:确定"},
      {"确定", failed, "标签:确定"},
      {"确定", "", "标签:确定"},
      {"确定", "未知", "标签:确定"},
      {"", "abc", " 值为:abc"},
      {"无", "abc", " 值为:abc"},
      {"未知", "abc", " 值为:abc"},
      {"用户名", "abc", "标签:用户名 值为:abc"},
      {"滑块", "50", "标签:滑块 值为:50"},
      // Only "无" and "未知" are left out; the other refusals are shown.
      {"确定", "数值没有发现", "标签:确定 值为:数值没有发现"},
      {"非法", "非法", "标签:非法 值为:非法"},
      {"数值没有发现", failed, "标签:数值没有发现"},
      {"无", "无", ""},
      {"未知", failed, ""},
      {"", "", ""},
      // The filter compares whole texts.
      {"无名", "未知数", "标签:无名 值为:未知数"},
      {" ", " ", "标签:  值为: "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PointerTextLine(c.Name, c.Value), c.Line)
        << "[" << c.Name << "] [" << (c.Value ? *c.Value : "(failed)") << "]";
}
