#include "net/meknet.h"

#include "core/mekmodule.h"

const FNetModule* NetModule() {
  const auto entry = reinterpret_cast<FNetModuleFunction>(ModuleSymbol(ORVEX_NET_MODULE, ORVEX_NET_MODULE_SYMBOL));
  return entry ? entry() : nullptr;
}
