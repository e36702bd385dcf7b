#pragma once
// Validating an in-place editor's text before it is written: the event the grid and its
// columns raise, its default message, and the exception of a refused value.
#include <functional>
#include <string>

#include "platform/core/component.h"
#include "platform/core/exception.h"

// A value the validation refused; the message says why.
class EqlEditInvalidInput : public Exception {
 public:
  using Exception::Exception;
};

// ErrorText starts as kqlInvalidInputText and Accept as true; a handler may change both.
using TqlEditValidateEvent =
    std::function<void(TObject* Sender, std::string& ErrorText, bool& Accept)>;
inline constexpr const char* kqlInvalidInputText =
    "Invalid input value. Use escape key to abandon changes";
