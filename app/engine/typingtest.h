// The typing speed test of item 51: the window feeds it the key events it sees before
// the focused control, and it works on the input line and label texts.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class TTypingTest {
public:
  enum class TState { Idle, Armed, Running };

  static constexpr const char* Alphabet = "01234567890-+./";  // "0" twice
  static constexpr int AlphabetLength = 15;
  static constexpr int TextLength = 500;

  TTypingTest();

  TState State() const { return state_; }
  void SetIdle() { state_ = TState::Idle; }
  void Arm() { state_ = TState::Armed; }

  // A key-down: Enter (virtual key 13) while armed starts the test, filling edit with
  // the test text. True when the key is consumed.
  bool KeyDown(int virtualKey, std::string& edit);
  // A character key while running: removes the first byte of edit when it matches,
  // shows the running rate in label, and ends the test with the final message when
  // edit is empty. True when the key is consumed (every character while running).
  bool KeyPress(char key, std::string& edit, std::string& label);

  // Characters per minute from the characters typed correctly in elapsedMs, rounded
  // half to even; 0 when no time has passed.
  static int32_t Rate(int correct, int64_t elapsedMs);

  // Millisecond tick count; a monotonic clock unless a test replaces it.
  std::function<int64_t()> TickCount;

private:
  TState state_ = TState::Idle;
  int64_t start_ = 0;
  int correct_ = 0;
};
