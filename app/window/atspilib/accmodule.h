// The interface of modules/orvex-atspi.so, the one part of the window that links the
// accessibility library (libatspi, with GObject and the X input extensions it brings). The
// window loads it with dlopen when item 47 first reads another program (app/window/
// mekoleacc.cpp), not at start-up. Built with the window from the same sources, the module
// hands the window's own types (app/window/mekoleacc.h) across; the two things it needs of
// the engine, the number format and the bus's error names, the window hands in at Init.
#pragma once
#include <string>

#include "app/window/mekoleacc.h"

struct FAccModule {
  void (*Init)(std::string (*formatNumber)(double), TAccStatus (*statusOfError)(const std::string&));
  TAccObject (*FromPoint)(int x, int y);
  FAccAnswer (*PropertyAnswer)(const TAccObject& object, int child, TAccProperty property);
  TAccObject (*Focused)();
  FAccAnswer (*FocusedTextAnswer)(const TAccObject& object);
  // Releases an element the module handed out (TAccObject's reference).
  void (*Release)(_AtspiAccessible* element);
};

using FAccModuleFunction = const FAccModule* (*)();

#define ORVEX_ATSPI_MODULE_SYMBOL "OrvexAccModule"
#define ORVEX_ATSPI_MODULE "orvex-atspi.so"
