// Table-driven runs of "=" on one item: the input line afterwards and the message shown.
#pragma once
#include <gtest/gtest.h>

#include <iterator>

#include "app/engine/dispatcher.h"
#include "testutil.h"

struct FItemCase {
  int item;
  const char* typed;
  const char* line;     // the input line afterwards
  const char* message;  // nullptr: no message
};

template <size_t N>
void RunItemCases(const FItemCase (&cases)[N]) {
  for (const FItemCase& c : cases) {
    TRecordingDialogs dialogs;
    TDispatcher calc;
    calc.ItemIndex = c.item;
    calc.Edit1Text = c.typed;
    calc.Button20Click();
    EXPECT_EQ(calc.Edit1Text, c.line) << c.item << " [" << c.typed << "]";
    if (c.message) {
      ASSERT_EQ(dialogs.Messages.size(), 1u) << c.item << " [" << c.typed << "]";
      EXPECT_EQ(dialogs.Messages[0], c.message) << c.item << " [" << c.typed << "]";
    } else {
      EXPECT_TRUE(dialogs.Messages.empty()) << c.item << " [" << c.typed << "]";
    }
  }
}
