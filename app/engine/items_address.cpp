// Items 17, 26 and 56: the dial-up link's address, the address of a host or web
// address, and the time of a time-protocol server.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekstr.h"
#include "net/mekGetIP.h"
#include "net/mekservices.h"
#include "net/mektime.h"

// Without a dial-up link the line keeps its text.
void Item17DialUpAddress(TDispatcher& calc) {
  const FmekIPxx links = DialUpConnections();
  if (!links.empty()) calc.Edit1Text = links.front().IPAddress;
}

// A name that does not resolve leaves the line as typed, so the address can be mended.
void Item26HostAddress(TDispatcher& calc) {
  if (std::string address = HostToAddress(calc.Edit1Text); !address.empty())
    calc.Edit1Text = std::move(address);
}

// A failed query (no server configured among them) raises, and the line keeps its text.
void Item56NetworkTime(TDispatcher& calc) {
  TTimeClient IdTime1;
  if (!IdTime1.SetServer(ServiceAddress("time"))) throw ETimeQueryError("no time server");
  calc.Edit1Text = FormatStamp(3, IdTime1.DateTime());
}
