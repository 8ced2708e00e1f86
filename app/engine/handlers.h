// The item handlers named by the item table. Each reads the input line of the
// dispatcher and writes its result there, or shows its message with ShowInfo.
#pragma once

class TDispatcher;

// Arithmetic
void Item0Arithmetic(TDispatcher& calc);
