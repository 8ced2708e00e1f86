// The texts of item 47 (the text under the pointer): what one query of an accessible
// element's name or value shows, and the input line that F5 over the element gives.
#pragma once
#include <optional>
#include <string>

// How a query of an element's name or value ended.
enum class TAccStatus {
  Ok,            // the element answered with its text
  NoText,        // the element has no such text
  NotSupported,  // the element does not support the property
  InvalidArg,    // the element refused the request's arguments
  Failed,        // any other failure (no answer in time, the element has gone, ...)
};

struct FAccAnswer {
  TAccStatus Status = TAccStatus::Failed;
  std::string Utf8;  // the text, for Ok
};

// The text of an answer (GBK): the element's text for Ok, else "无", "数值没有发现",
// "非法" or "未知".
std::string AccAnswerText(const FAccAnswer& answer);

// The status of a query that ended in the accessibility bus's error of that name.
TAccStatus AccStatusOfError(const std::string& dbusErrorName);

// The input line from the element's name text and value text (absent when reading the
// value failed): "标签:" and the name, then " 值为:" and the value; a text that is
// empty, "无" or "未知" is left out.
std::string PointerTextLine(const std::string& name, const std::optional<std::string>& value);
