#include "platform/ui/qt_keys.h"

uint16_t VirtualKeyFromQt(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<uint16_t>(key);  // same codes as the virtual keys
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Menu: return VK_APPS;
    default: return 0;
  }
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s;
  if (modifiers & Qt::ShiftModifier) s.include(ssShift);
  if (modifiers & Qt::ControlModifier) s.include(ssCtrl);
  if (modifiers & Qt::AltModifier) s.include(ssAlt);
  if (buttons & Qt::LeftButton) s.include(ssLeft);
  if (buttons & Qt::RightButton) s.include(ssRight);
  if (buttons & Qt::MiddleButton) s.include(ssMiddle);
  return s;
}
