// Window-system services backed by the toolkit.
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>
#include <map>

#include "platform/gfx/bitmap.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/scroll_bar_geometry.h"
#include "platform/ui/services.h"

namespace {
TPoint cursorPos{-10000, -10000};
std::function<uint32_t()> tickSource;
std::function<int(const std::vector<std::string>&)> popupHook;
std::map<TCursor, bool> registeredCursors;
TCursor screenCursor = crDefault;  // crDefault: no override cursor is set
}  // namespace

TPoint GetCursorPos() { return cursorPos; }
void SetCursorPos(TPoint screenPos) { cursorPos = screenPos; }

TControl* FindControlAtScreen(TPoint screenPos, bool allowDisabled) {
  if (!Application) return nullptr;
  // The active form lies on top; then the others, newest first.
  std::vector<TCustomForm*> order;
  if (TCustomForm* active = Application->ActiveForm()) order.push_back(active);
  const auto& forms = Application->Forms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it)
    if (*it != Application->ActiveForm()) order.push_back(*it);
  for (TCustomForm* form : order) {
    if (!form->IsShown()) continue;
    TPoint p = form->ScreenToClient(screenPos);
    if (!form->ClientRect().Contains(p)) continue;
    return form->ControlAtFormPos(p, allowDisabled);
  }
  return nullptr;
}

TWinControl* WindowFromPoint(TPoint screenPos) {
  for (TControl* c = FindControlAtScreen(screenPos, false); c; c = c->Parent())
    if (auto* w = dynamic_cast<TWinControl*>(c)) return w;
  return nullptr;
}

void SetCapture(TControl* control) {
  if (control)
    if (TCustomForm* form = control->GetParentForm()) form->SetCaptureControl(control);
}

void ReleaseCapture() {
  if (!Application) return;
  for (TCustomForm* form : Application->Forms()) form->SetCaptureControl(nullptr);
}

TControl* GetCapture() {
  if (!Application) return nullptr;
  for (TCustomForm* form : Application->Forms())
    if (form->CaptureControl()) return form->CaptureControl();
  return nullptr;
}

bool IsKeyDown(uint16_t vk) {
  Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  switch (vk) {
    case VK_SHIFT: return m & Qt::ShiftModifier;
    case VK_CONTROL: return m & Qt::ControlModifier;
    case VK_MENU: return m & Qt::AltModifier;
    default: return false;
  }
}

TRect ScreenRect() {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {0, 0, 1024, 768};
  QRect g = s->geometry();
  return Bounds(g.x(), g.y(), g.width(), g.height());
}

TRect WorkAreaRect() {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {0, 0, 1024, 768};
  QRect g = s->availableGeometry();
  return Bounds(g.x(), g.y(), g.width(), g.height());
}

int GetSystemMetrics(int metric) {
  switch (metric) {
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CXHSCROLL: case SM_CYVSCROLL: return kScrollBarSize;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    default: return 0;
  }
}

int GetDoubleClickTime() { return QApplication::doubleClickInterval(); }
int GetWheelScrollLines() { return QApplication::wheelScrollLines(); }

uint32_t GetTickCount() {
  if (tickSource) return tickSource();
  static QElapsedTimer clock = [] { QElapsedTimer t; t.start(); return t; }();
  return static_cast<uint32_t>(clock.elapsed());
}

void SetTickCountForTest(std::function<uint32_t()> source) { tickSource = std::move(source); }

void ClipboardSetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string ClipboardGetText() { return QGuiApplication::clipboard()->text().toStdString(); }

void RegisterCursor(TCursor id, const TBitmap&, TPoint) { registeredCursors[id] = true; }
bool CursorRegistered(TCursor id) { return id <= 0 && id >= crSizeAll ? true : registeredCursors.count(id) > 0; }

TCursor ScreenCursor() { return screenCursor; }

void SetScreenCursor(TCursor value) {
  if (value == screenCursor) return;
  const bool hadOverride = screenCursor != crDefault;
  screenCursor = value;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;  // no windows
  if (hadOverride) QGuiApplication::restoreOverrideCursor();
  // The busy shapes are what programs put on the whole screen; anything else shows the arrow.
  if (value != crDefault)
    QGuiApplication::setOverrideCursor(QCursor(value == crHourGlass  ? Qt::WaitCursor
                                               : value == crAppStart ? Qt::BusyCursor
                                                                     : Qt::ArrowCursor));
}

int ShowPopupMenu(const std::vector<std::string>& items, TPoint screenPos) {
  if (popupHook) return popupHook(items);
  QMenu menu;
  std::vector<QAction*> actions;
  for (const auto& item : items) {
    if (item == "-")
      actions.push_back(menu.addSeparator());
    else
      actions.push_back(menu.addAction(QString::fromStdString(item)));
  }
  QAction* chosen = menu.exec(QPoint(screenPos.X, screenPos.Y));
  for (size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == chosen) return static_cast<int>(i);
  return -1;
}

void SetPopupMenuHookForTest(std::function<int(const std::vector<std::string>&)> hook) {
  popupHook = std::move(hook);
}
