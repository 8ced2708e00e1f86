// Item 6: the chemical formula of a substance named in Chinese.
#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekstr.h"
#include "everyday/mekHuaxue.h"

// The whole input line is the name, blanks around it ignored; a name that is not known
// leaves the line as typed, without a message.
void Item6ChemicalFormula(TDispatcher& calc) {
  if (std::string formula = FormulaOf(TrimText(calc.Edit1Text)); !formula.empty())
    calc.Edit1Text = std::move(formula);
}
