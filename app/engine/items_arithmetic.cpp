// Item 0: the typed expression replaced by its value.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekmath.h"

void Item0Arithmetic(TDispatcher& calc) {
  // Any failure leaves the expression as it is; the dispatcher discards it.
  calc.Edit1Text = FormatGeneral(EvaluateExpression(calc.Edit1Text));
}
