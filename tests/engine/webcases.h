// Table-driven runs of "=" on the web-lookup items against a TWebServer: the input line
// afterwards, the box shown and the requests the service received.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "itemcases.h"
#include "webserver.h"

struct FWebCase {
  int item;
  const char* typed;
  std::string page;     // what the service answers
  const char* line;     // the input line afterwards
  const char* message;  // nullptr: no box
  const char* target;   // the path and query received; nullptr: no request
};

// Runs each case through "=" with the service answering its page.
template <size_t N>
void RunWebCases(TWebServer& server, const FWebCase (&cases)[N]) {
  for (const FWebCase& c : cases) {
    server.Serve(c.page);
    const FItemCase one[] = {{c.item, c.typed, c.line, c.message}};
    RunItemCases(one);
    EXPECT_EQ(server.Targets(), c.target ? std::vector<std::string>{c.target} : std::vector<std::string>{})
        << c.item << " [" << c.typed << "]";
  }
}

// A case of the public sources: every request received, in order.
struct FSourceCase {
  int item;
  const char* typed;
  const char* line;
  const char* message;
  std::vector<std::string> targets;
};

template <size_t N>
void RunSourceCases(TWebServer& server, const FSourceCase (&cases)[N]) {
  for (const FSourceCase& c : cases) {
    server.Serve("");
    const FItemCase one[] = {{c.item, c.typed, c.line, c.message}};
    RunItemCases(one);
    EXPECT_EQ(server.Targets(), c.targets) << c.item << " [" << c.typed << "]";
  }
}
