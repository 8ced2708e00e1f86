#include "app/engine/typingtest.h"

#include <time.h>

#include <cstdio>

#include "core/mekDialogs.h"
#include "core/meknum.h"
#include "core/mekrandom.h"

namespace {

int64_t MonotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::string RateText(const char* format, int32_t rate) {
  char buf[96];
  std::snprintf(buf, sizeof buf, format, rate);
  return buf;
}

}  // namespace

TTypingTest::TTypingTest() : TickCount(MonotonicMs) {}

int32_t TTypingTest::Rate(int correct, int64_t elapsedMs) {
  if (elapsedMs <= 0) return 0;
  return int32_t(RoundHalfEven(correct * 60.0 / (double(elapsedMs) / 1000.0)));
}

bool TTypingTest::KeyDown(int virtualKey, std::string& edit) {
  if (state_ != TState::Armed || virtualKey != 13) return false;
  state_ = TState::Running;
  std::string text;
  text.reserve(TextLength);
  for (int i = 0; i < TextLength; ++i) text += Alphabet[Random(AlphabetLength)];
  edit = text;
  correct_ = 0;
  start_ = TickCount();
  return true;
}

bool TTypingTest::KeyPress(char key, std::string& edit, std::string& label) {
  if (state_ != TState::Running) return false;
  if (!edit.empty() && edit[0] == key) {
    edit.erase(0, 1);
    ++correct_;
  }
  const int64_t elapsed = TickCount() - start_;
  if (elapsed > 0) label = RateText("当前打字速度为%d字/分钟", Rate(correct_, elapsed));
  if (edit.empty()) {
    state_ = TState::Idle;
    const int64_t total = TickCount() - start_;
    ShowInfo(RateText("本次测试您的打字速度为%d字/分钟", Rate(correct_, total)));
  }
  return true;
}
