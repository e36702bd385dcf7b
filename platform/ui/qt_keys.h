#pragma once
// Translation of the toolkit's key codes and modifiers into virtual keys and shift states.
#include <Qt>

#include "platform/ui/messages.h"

uint16_t VirtualKeyFromQt(int qtKey);
TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
