// Simplified/traditional conversion on the text's UTF-8 form through OpenCC's C
// interface. Each converter is loaded once, on first use, and kept for the process.
#include "hanzi/mekGB.h"

#include <opencc/opencc.h>

#include <cstdlib>
#include <memory>

#include "core/codepage.h"
#include "core/mekerror.h"

namespace {

class TOpenCC {
public:
  // Loads the configuration file name from ORVEX_OPENCC_DIR or OpenCC's data folder.
  explicit TOpenCC(const std::string& config) {
    std::string path = config;
    if (const char* dir = std::getenv("ORVEX_OPENCC_DIR"); dir && *dir)
      path = std::string(dir) + "/" + config;
    handle_ = opencc_open(path.c_str());
    if (handle_ == reinterpret_cast<opencc_t>(-1))
      throw EMekError("OpenCC: " + std::string(opencc_error()));
  }
  ~TOpenCC() { opencc_close(handle_); }
  TOpenCC(const TOpenCC&) = delete;
  TOpenCC& operator=(const TOpenCC&) = delete;

  std::string Convert(const std::string& utf8) const {
    std::unique_ptr<char, void (*)(char*)> out(
        opencc_convert_utf8(handle_, utf8.data(), utf8.size()), opencc_convert_utf8_free);
    if (!out) throw EMekError("OpenCC: " + std::string(opencc_error()));
    return out.get();
  }

private:
  opencc_t handle_;
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
