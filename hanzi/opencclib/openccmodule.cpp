// modules/orvex-opencc.so: OpenCC's C interface, for the engine to load on first use.
#include "hanzi/opencclib/openccmodule.h"

#include <opencc/opencc.h>

namespace {

void* Open(const char* config) { return opencc_open(config); }
char* Convert(void* converter, const char* utf8, size_t length) {
  return opencc_convert_utf8(static_cast<opencc_t>(converter), utf8, length);
}
void FreeText(char* text) { opencc_convert_utf8_free(text); }
const char* Error() { return opencc_error(); }

const FOpenCCModule Module = {Open, Convert, FreeText, Error};

}  // namespace

extern "C" __attribute__((visibility("default"))) const FOpenCCModule* OrvexOpenCCModule(void) { return &Module; }
