// Item 6: the chemical formula of a substance named in Chinese.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "everyday/mekHuaxue.h"

// The whole input line is the name, blanks included; a name that is not known clears
// the line without a message.
void Item6ChemicalFormula(TDispatcher& calc) { calc.Edit1Text = FormulaOf(calc.Edit1Text); }
