#pragma once
// The record-set layer's failure: every error of the connection, queries, filters, fields and
// cursor is an EDatabaseError with a message for the user.
#include "platform/core/exception.h"

class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// Raised for a modifying call on the read-only record sets.
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
