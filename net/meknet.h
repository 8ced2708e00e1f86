// The engine's side of modules/orvex-net.so (net/netlib/netmodule.h): the module, loaded on
// the first fetch or domain look-up and kept for the process.
#pragma once
#include "net/netlib/netmodule.h"

// The module's functions, or null when the module is missing or damaged (every fetch and
// domain look-up then fails as without a network).
const FNetModule* NetModule();
