// Helpers shared by the engine tests.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "core/mekDialogs.h"

// Records the messages and questions of the items; answers questions with Answer.
// Installed for its lifetime.
class TRecordingDialogs : public TMekDialogs {
public:
  TRecordingDialogs();
  ~TRecordingDialogs() override;
  void ShowInfo(const std::string& message) override;
  bool AskYesNo(const std::string& question) override;

  bool Answer = true;
  std::vector<std::string> Messages;
  std::vector<std::string> Questions;

private:
  TMekDialogs* previous_;
};

// Fixes the clock at noon UTC of the given date (15 June by default) for the life of
// the object.
struct FNoonClock {
  explicit FNoonClock(int year, int month = 6, int day = 15);
  ~FNoonClock();
};

// Texts of up to maxPieces pieces drawn at random (a fixed linear congruential sequence
// from seed), for comparing an operation with a reference on many odd inputs.
class TRandomTexts {
public:
  TRandomTexts(std::vector<std::string> pieces, unsigned seed, unsigned maxPieces)
      : pieces_(std::move(pieces)), seed_(seed), maxPieces_(maxPieces) {}
  std::string Next() {
    std::string text;
    for (unsigned len = Draw() % (maxPieces_ + 1); len > 0; --len)
      text += pieces_[Draw() % pieces_.size()];
    return text;
  }

private:
  unsigned Draw() {
    seed_ = seed_ * 1103515245 + 12345;
    return seed_ >> 16;
  }
  std::vector<std::string> pieces_;
  unsigned seed_, maxPieces_;
};
