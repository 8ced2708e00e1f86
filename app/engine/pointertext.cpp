// The texts of item 47.
#include "app/engine/pointertext.h"

#include "core/codepage.h"

std::string AccAnswerText(const FAccAnswer& answer) {
  switch (answer.Status) {
    case TAccStatus::Ok: return Utf8ToGbk(answer.Utf8);
    case TAccStatus::NoText: return "无";
    case TAccStatus::NotSupported: return "数值没有发现";
    case TAccStatus::InvalidArg: return "非法";
    case TAccStatus::Failed: break;
  }
  return "未知";
}

TAccStatus AccStatusOfError(const std::string& name) {
  static const std::string prefix = "org.freedesktop.DBus.Error.";
  if (name.compare(0, prefix.size(), prefix) != 0) return TAccStatus::Failed;
  const std::string error = name.substr(prefix.size());
  if (error == "UnknownMethod" || error == "UnknownInterface" || error == "UnknownProperty" ||
      error == "NotSupported")
    return TAccStatus::NotSupported;
  if (error == "InvalidArgs") return TAccStatus::InvalidArg;
  return TAccStatus::Failed;
}

namespace {

bool Shown(const std::string& text) { return !text.empty() && text != "无" && text != "未知"; }

}  // namespace

std::string PointerTextLine(const std::string& name, const std::optional<std::string>& value) {
  std::string line;
  if (Shown(name)) line += "标签:" + name;
  if (value && Shown(*value)) line += " 值为:" + *value;
  return line;
}
