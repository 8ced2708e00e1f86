// Failures raised by the engine. The dispatcher catches every one of them; a handler
// that recognises a failure shows its own message instead.
#pragma once
#include <stdexcept>
#include <string>

// Base of every engine failure; what() is GBK text.
class EMekError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Text that a strict reader refuses: not an integer, not a number, out of range.
class EConvertError : public EMekError {
public:
  using EMekError::EMekError;
};

// An arithmetic result outside the range of a double.
class EOverflowError : public EMekError {
public:
  using EMekError::EMekError;
};

// A failure of the expression evaluator carrying its own message.
class EEvalError : public EMekError {
public:
  using EMekError::EMekError;
};

// A module beside the executables (core/mekmodule.h) that an item needs is missing or
// damaged; the message names its file.
class EMissingModule : public EMekError {
public:
  using EMekError::EMekError;
};
