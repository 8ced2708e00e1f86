// The typing speed test with a fixed tick count and a seeded random generator.
#include <gtest/gtest.h>

#include <set>

#include "app/engine/typingtest.h"
#include "core/mekrandom.h"
#include "testutil.h"

namespace {

struct FTest {
  TTypingTest test;
  int64_t now = 1000;
  std::string edit, label;
  FTest() { test.TickCount = [this] { return now; }; }
};

}  // namespace

TEST(TypingTest, EnterStartsOnlyWhenArmed) {
  FTest t;
  t.edit = "x";
  EXPECT_FALSE(t.test.KeyDown(13, t.edit));  // idle
  t.test.Arm();
  EXPECT_FALSE(t.test.KeyDown(65, t.edit));
  EXPECT_EQ(t.test.State(), TTypingTest::TState::Armed);
  EXPECT_FALSE(t.test.KeyPress('1', t.edit, t.label));  // armed: characters pass
  EXPECT_TRUE(t.test.KeyDown(13, t.edit));
  EXPECT_EQ(t.test.State(), TTypingTest::TState::Running);
  EXPECT_FALSE(t.test.KeyDown(13, t.edit));  // running: key-downs pass
}

TEST(TypingTest, TestTextIsFiveHundredFromTheAlphabet) {
  RandSeed(12345);
  FTest t;
  t.test.Arm();
  t.test.KeyDown(13, t.edit);
  ASSERT_EQ(t.edit.size(), 500u);
  std::set<char> seen(t.edit.begin(), t.edit.end());
  for (char c : seen) EXPECT_NE(std::string("0123456789-+./").find(c), std::string::npos) << c;
  EXPECT_EQ(seen.size(), 14u);
  // The same seed gives the same text.
  RandSeed(12345);
  FTest u;
  u.test.Arm();
  u.test.KeyDown(13, u.edit);
  EXPECT_EQ(u.edit, t.edit);
}

TEST(TypingTest, RateCountsCorrectCharactersPerMinute) {
  struct Case {
    int correct;
    int64_t ms;
    int32_t rate;
  } cases[] = {
      {0, 1000, 0}, {1, 1000, 60}, {500, 60000, 500}, {500, 100000, 300},
      {1, 24000, 2},   // 2.5 goes to the even 2
      {1, 40000, 2},   // 1.5 goes to 2
      {7, 1000, 420}, {3, 0, 0}, {3, -5, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TTypingTest::Rate(c.correct, c.ms), c.rate) << c.correct << " " << c.ms;
}

TEST(TypingTest, WholeRunToTheFinalMessage) {
  TRecordingDialogs dialogs;
  RandSeed(7);
  FTest t;
  t.test.Arm();
  t.test.KeyDown(13, t.edit);
  const std::string text = t.edit;
  // A wrong key removes nothing but updates the rate; no time yet: no figure.
  const char wrong = text[0] == '1' ? '2' : '1';
  EXPECT_TRUE(t.test.KeyPress(wrong, t.edit, t.label));
  EXPECT_EQ(t.edit, text);
  EXPECT_EQ(t.label, "");
  t.now += 500;
  EXPECT_TRUE(t.test.KeyPress(wrong, t.edit, t.label));
  EXPECT_EQ(t.label, "当前打字速度为0字/分钟");
  for (size_t i = 0; i < text.size(); ++i) {
    t.now += 100;
    EXPECT_TRUE(t.test.KeyPress(text[i], t.edit, t.label));
    if (i == 9) {
      EXPECT_EQ(t.edit, text.substr(10));
      EXPECT_EQ(t.label, "当前打字速度为400字/分钟");  // 10 in 1.5 s
    }
  }
  EXPECT_EQ(t.edit, "");
  EXPECT_EQ(t.test.State(), TTypingTest::TState::Idle);
  // 500 characters in 50.5 s: 594.06 per minute.
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0], "本次测试您的打字速度为594字/分钟");
  EXPECT_FALSE(t.test.KeyPress('1', t.edit, t.label));  // idle again
}

TEST(TypingTest, EmptyLineEndsTheTestAtTheNextKey) {
  TRecordingDialogs dialogs;
  FTest t;
  t.test.Arm();
  t.test.KeyDown(13, t.edit);
  t.edit.clear();  // "C" pressed
  EXPECT_TRUE(t.test.KeyPress('\r', t.edit, t.label));
  EXPECT_EQ(t.test.State(), TTypingTest::TState::Idle);
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0], "本次测试您的打字速度为0字/分钟");
}

TEST(TypingTest, IdleStopsARunningTest) {
  FTest t;
  t.test.Arm();
  t.test.KeyDown(13, t.edit);
  t.test.SetIdle();
  std::string before = t.edit;
  EXPECT_FALSE(t.test.KeyPress(t.edit[0], t.edit, t.label));
  EXPECT_EQ(t.edit, before);
}
