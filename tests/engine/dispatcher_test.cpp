// The "=" dispatcher, the selector, the restore key and the shared date reading.
#include <gtest/gtest.h>

#include "app/engine/dispatcher.h"
#include "core/mekdatetime.h"
#include "testenv.h"
#include "testutil.h"

TEST(ItemTable, LabelsAndPrompts) {
  EXPECT_STREQ(ItemAt(0).Label, "加减乘除计算");
  EXPECT_STREQ(ItemAt(0).Prompt, "请输入算式,如(2+3)*7/19");
  EXPECT_STREQ(ItemAt(45).Prompt, "数量，原币种，转换币种(人民币,美元,欧元,港元,台币,\r英镑,韩元,日元)");
  EXPECT_STREQ(ItemAt(56).Label, "网络校对时间");
  EXPECT_STREQ(ItemAt(56).Prompt, "直接点等于");
  EXPECT_EQ(ItemAt(47).Handler, nullptr);
  EXPECT_EQ(ItemAt(51).Handler, nullptr);
  EXPECT_THROW(ItemAt(57), std::out_of_range);
}

TEST(Dispatcher, EqualsOnItemZeroThenRestore) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  EXPECT_EQ(calc.Label1Text, "做世界上最牛的计算器");
  calc.ItemIndex = 0;
  calc.ComboBox1Change();
  calc.Edit1Text = "（２＋３）＊７";
  calc.Button20Click();
  EXPECT_EQ(calc.Edit1Text, "35");
  EXPECT_EQ(calc.LastInput, "(2+3)*7");
  EXPECT_EQ(calc.Label1Text, ItemAt(0).Prompt);
  calc.BitBtn2Click();
  EXPECT_EQ(calc.Edit1Text, "(2+3)*7");
  calc.BitBtn2Click();
  EXPECT_EQ(calc.Edit1Text, "(2+3)*7");
  EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(Dispatcher, FailuresAreDiscardedSilently) {
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = 0;
  for (const char* e : {"1/0", "(1+2", "1..2", "abc", "2*-3"}) {
    calc.Edit1Text = e;
    calc.Label1Text = "x";
    calc.Button20Click();
    EXPECT_EQ(calc.Edit1Text, e);
    EXPECT_EQ(calc.LastInput, e);
    EXPECT_EQ(calc.Label1Text, "x");
  }
  EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(Dispatcher, ItemsWithoutHandlerRunOnlyTheCommonSteps) {
  TRecordingDialogs dialogs;
  for (int item : {-1, 47, 51, 57, 1000, -5}) {
    TDispatcher calc;
    calc.ItemIndex = item;
    calc.Edit1Text = "１２３＋１";
    calc.Button20Click();
    EXPECT_EQ(calc.Edit1Text, "123+1") << item;
    EXPECT_EQ(calc.LastInput, "123+1") << item;
    EXPECT_EQ(calc.Label1Text, StartLabelText) << item;
  }
  EXPECT_TRUE(dialogs.Messages.empty());
}

// After "=" the label names the maker's site only where one is configured; no
// placeholder address is ever shown.
TEST(Dispatcher, WelcomeTextNamesTheConfiguredSite) {
  const struct {
    const char* site;
    const char* label;
  } cases[] = {
      {nullptr, "请输入算式,如(2+3)*7/19"},
      {"", "请输入算式,如(2+3)*7/19"},
      {"https://orvex.example.org/", "欢迎定做软件，orvex.example.org  请选择运算项目"},
      {"http://127.0.0.1:8123", "欢迎定做软件，127.0.0.1:8123  请选择运算项目"},
      {"www.example.net", "欢迎定做软件，www.example.net  请选择运算项目"},
  };
  for (const auto& c : cases) {
    TConfigHome home;
    if (c.site) home.Write(std::string("[services]\nsite=") + c.site + "\n");
    TDispatcher calc;
    calc.ItemIndex = 0;
    calc.ComboBox1Change();
    calc.Edit1Text = "1+1";
    calc.Button20Click();
    EXPECT_EQ(calc.Label1Text, c.label) << (c.site ? c.site : "(no file)");
  }
}

TEST(Dispatcher, SelectorShowsPromptsAndDrivesTheTypingTestHooks) {
  TDispatcher calc;
  std::vector<int> idle;
  int armed = 0, focused = 0;
  calc.OnSelectorIdle = [&](int i) { idle.push_back(i); };
  calc.OnArmTypingTest = [&] { ++armed; };
  calc.OnFocusInput = [&] { ++focused; };
  calc.ItemIndex = 45;
  calc.ComboBox1Change();
  EXPECT_EQ(calc.Label1Text, ItemAt(45).Prompt);
  calc.ItemIndex = 51;
  calc.ComboBox1Change();
  EXPECT_EQ(calc.Label1Text, "回车开始计时");
  EXPECT_EQ(armed, 1);
  calc.ItemIndex = -1;
  calc.ComboBox1Change();
  EXPECT_EQ(calc.Label1Text, "回车开始计时");  // unchanged for an index outside the table
  EXPECT_EQ(idle, (std::vector<int>{45, -1}));
  EXPECT_EQ(focused, 3);
}

TEST(Dispatcher, NormalizeDateInput) {
  TDispatcher calc;
  calc.Edit1Text = "2009/1\\1 -5 #x";
  calc.NormalizeDateInput();
  EXPECT_EQ(calc.Edit1Text, "2009-1-1 -5 #x");
}

TEST(ReadInputDate, Rules) {
  FNoonClock clock(2009);
  TDispatcher calc;
  struct {
    const char* text;
    int y, m, d;  // y == 0: refused
  } cases[] = {
      {"2009-2-29", 0, 0, 0},       {"2008-2-29", 2008, 2, 29},   {" 2009 - 1 - 1 ", 2009, 1, 1},
      {"2009-1-1-", 2009, 1, 1},    {"2009-1-1- ", 2009, 1, 1},   {"2009-1-1--", 0, 0, 0},
      {"2009-1-1 10:00", 0, 0, 0},  {"1-5", 2009, 1, 5},          {"20091-1-1", 0, 0, 0},
      {"09-3-4", 2009, 3, 4},       {"58-1-1", 2058, 1, 1},       {"59-1-1", 1959, 1, 1},
      {"0059-1-1", 59, 1, 1},       {"1-5-", 0, 0, 0},            {"2009-13-1", 0, 0, 0},
      {"2009-0-1", 0, 0, 0},        {"2009-1-0", 0, 0, 0},        {"0-1-1", 2000, 1, 1},
      {"0000-1-1", 0, 0, 0},        {"9999-12-31", 9999, 12, 31}, {"", 0, 0, 0},
      {"-", 0, 0, 0},               {"2009", 0, 0, 0},            {"2009-", 0, 0, 0},
      {"2009--1", 0, 0, 0},         {"a2009-1-1", 0, 0, 0},       {"1900-2-29", 0, 0, 0},
      {"2000-2-29", 2000, 2, 29},   {"2009/1/1", 0, 0, 0},        {"0001-01-01", 1, 1, 1},
      {"2009-001-0000001", 2009, 1, 1},
  };
  for (const auto& c : cases) {
    const auto d = calc.ReadInputDate(c.text);
    if (c.y == 0) {
      EXPECT_FALSE(d.has_value()) << c.text;
    } else {
      ASSERT_TRUE(d.has_value()) << c.text;
      EXPECT_EQ(*d, EncodeDate(c.y, c.m, c.d)) << c.text;
    }
  }
}

TEST(ReadInputDate, CenturyWindowFollowsTheCurrentYear) {
  FNoonClock clock(2026);
  TDispatcher calc;
  EXPECT_EQ(calc.ReadInputDate("76-1-1"), EncodeDate(1976, 1, 1));
  EXPECT_EQ(calc.ReadInputDate("75-1-1"), EncodeDate(2075, 1, 1));
  EXPECT_EQ(calc.ReadInputDate("3-4"), EncodeDate(2026, 3, 4));
}

TEST(DateTime, EncodeDecodeRoundTrip) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  for (double d = -693593; d <= 2958465; d += 97) {
    const FDateParts p = DecodeDate(d);
    EXPECT_EQ(EncodeDate(p.year, p.month, p.day), d);
  }
  const FDateParts last = DecodeDate(2958465);
  EXPECT_EQ(last.year, 9999);
  EXPECT_EQ(last.month, 12);
  EXPECT_EQ(last.day, 31);
  EXPECT_EQ(DayOfWeek(EncodeDate(2009, 1, 1)), 5);  // a Thursday
  EXPECT_EQ(ShortDateText(EncodeDate(2009, 1, 5)), "2009-1-5");
  EXPECT_EQ(LongTimeText(EncodeTime(8, 7, 6, 0)), "8:07:06");
}
