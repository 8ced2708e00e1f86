// Items 52-55: web addresses in percent form and back, on the GBK bytes as they are or on
// the text's UTF-8 form.
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/codepage.h"
#include "core/mekstr.h"

namespace {

// The input line cannot hold a zero byte: it ends its text there, as the window's and
// the command line's input line would show it.
std::string UpToZeroByte(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

// A malformed escape raises, and the input line keeps its text; bytes that are not
// well-formed UTF-8 give the empty line.
void Item52UrlToTextUtf8(TDispatcher& calc) {
  calc.Edit1Text = UpToZeroByte(Utf8ToGbkWhole(UrlDecodeBytes(calc.Edit1Text)));
}

void Item53TextToUrlUtf8(TDispatcher& calc) {
  calc.Edit1Text = UrlEncodeBytes(GbkToUtf8(calc.Edit1Text));
}

void Item54UrlToTextAnsi(TDispatcher& calc) {
  calc.Edit1Text = UpToZeroByte(UrlDecodeBytes(calc.Edit1Text));
}

void Item55TextToUrlAnsi(TDispatcher& calc) { calc.Edit1Text = UrlEncodeBytes(calc.Edit1Text); }
