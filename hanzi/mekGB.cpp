// Simplified/traditional conversion on the text's UTF-8 form through OpenCC's C
// interface, in modules/orvex-opencc.so. The module and each converter are loaded once, on
// first use, and kept for the process.
#include "hanzi/mekGB.h"

#include <cstdlib>
#include <memory>

#include "core/codepage.h"
#include "core/mekerror.h"
#include "core/mekmodule.h"
#include "hanzi/opencclib/openccmodule.h"

namespace {

const FOpenCCModule& Module() {
  const auto entry =
      reinterpret_cast<FOpenCCModuleFunction>(ModuleSymbol(ORVEX_OPENCC_MODULE, ORVEX_OPENCC_MODULE_SYMBOL));
  if (!entry) throw EMissingModule(ORVEX_OPENCC_MODULE);
  return *entry();
}

class TOpenCC {
public:
  // Loads the configuration file name from ORVEX_OPENCC_DIR or OpenCC's data folder. The
  // converter lives as long as the process (it is never closed).
  explicit TOpenCC(const std::string& config) : module_(Module()) {
    std::string path = config;
    if (const char* dir = std::getenv("ORVEX_OPENCC_DIR"); dir && *dir)
      path = std::string(dir) + "/" + config;
    handle_ = module_.Open(path.c_str());
    if (handle_ == reinterpret_cast<void*>(-1)) throw EMekError("OpenCC: " + std::string(module_.Error()));
  }
  TOpenCC(const TOpenCC&) = delete;
  TOpenCC& operator=(const TOpenCC&) = delete;

  std::string Convert(const std::string& utf8) const {
    std::unique_ptr<char, void (*)(char*)> out(module_.Convert(handle_, utf8.data(), utf8.size()),
                                               module_.FreeText);
    if (!out) throw EMekError("OpenCC: " + std::string(module_.Error()));
    return out.get();
  }

private:
  const FOpenCCModule& module_;
  void* handle_;
};

// GBK -> UTF-8 -> converter -> GBK; an empty text stays empty without loading anything.
std::string ConvertGbk(const TOpenCC& converter, const std::string& text) {
  if (text.empty()) return text;
  return Utf8ToGbk(converter.Convert(GbkToUtf8(text)));
}

}  // namespace

std::string ToSimplified(const std::string& text) {
  // A failed load throws out of the initialiser, so the next call tries again.
  static const TOpenCC converter("t2s.json");
  return ConvertGbk(converter, text);
}

std::string ToTraditional(const std::string& text) {
  static const TOpenCC converter("s2t.json");
  return ConvertGbk(converter, text);
}
