#pragma once
// The first half of every guarded property setter: store the new value only when it differs,
// and tell the caller whether it did, so the setter repaints or notifies on a change only.
#include <type_traits>

// Stores value in field and returns true, or returns false when field already holds value.
// The field's type decides the value's type, so a literal or a narrower argument converts.
template <typename T>
bool StoreChanged(T& field, const std::type_identity_t<T>& value) {
  if (field == value) return false;
  field = value;
  return true;
}
