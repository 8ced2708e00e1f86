// The window's side of modules/orvex-atspi.so (app/window/atspilib/accmodule.h): the
// module is loaded when item 47 first reads another program, so that the window's start
// does not load the accessibility library. Without the module there is nothing to read: no
// element, and a query fails.
#include "app/window/mekoleacc.h"

#include <utility>

#include "app/window/atspilib/accmodule.h"
#include "core/mekmath.h"
#include "core/mekmodule.h"

namespace {

const FAccModule* Module() {
  static const FAccModule* const module = [] {
    const auto entry = reinterpret_cast<FAccModuleFunction>(ModuleSymbol(ORVEX_ATSPI_MODULE, ORVEX_ATSPI_MODULE_SYMBOL));
    const FAccModule* m = entry ? entry() : nullptr;
    if (m) m->Init(FormatGeneral, AccStatusOfError);
    return m;
  }();
  return module;
}

}  // namespace

TAccObject::~TAccObject() {
  if (element_) Module()->Release(element_);  // an element came from the module
}

TAccObject& TAccObject::operator=(TAccObject&& other) noexcept {
  if (this != &other) {
    if (element_) Module()->Release(element_);
    element_ = std::exchange(other.element_, nullptr);
  }
  return *this;
}

TAccObject AccObjectFromPoint(int x, int y) { return Module() ? Module()->FromPoint(x, y) : TAccObject(); }

FAccAnswer AccPropertyAnswer(const TAccObject& object, int child, TAccProperty property) {
  if (!Module()) return {TAccStatus::Failed, {}};
  return Module()->PropertyAnswer(object, child, property);
}

std::string AccPropertyText(const TAccObject& object, int child, TAccProperty property) {
  return AccAnswerText(AccPropertyAnswer(object, child, property));
}

TAccObject AccFocusedObject() { return Module() ? Module()->Focused() : TAccObject(); }

FAccAnswer AccFocusedTextAnswer(const TAccObject& object) {
  if (!Module()) return {TAccStatus::Failed, {}};
  return Module()->FocusedTextAnswer(object);
}
