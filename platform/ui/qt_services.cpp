// Window-system services backed by the toolkit.
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>

#include "platform/gfx/bitmap.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/qt_cursors.h"
#include "platform/ui/scroll_bar_geometry.h"
#include "platform/ui/services.h"

namespace {
TPoint cursorPos{-10000, -10000};
std::function<uint32_t()> tickSource;
TPopupMenuHook popupHook;
TSaveFileDialogHook saveDialogHook;
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

void SetApplicationIcon(const std::vector<TIconPicture>& sizes) {
  QIcon icon;
  for (const TIconPicture& picture : sizes) {
    const TBitmap& colors = *picture.Colors;
    const TBitmap& opacity = *picture.Opacity;
    if (colors.Width() != opacity.Width() || colors.Height() != opacity.Height())
      throw Exception("an icon's opacity bitmap differs in size from its colours");
    QImage image(colors.Width(), colors.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < colors.Height(); ++y) {
      auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
      const uint32_t* rgb = colors.ScanLine(y);  // 0x00RRGGBB, as QRgb without alpha
      const uint32_t* grey = opacity.ScanLine(y);
      for (int x = 0; x < colors.Width(); ++x) out[x] = (rgb[x] & 0xFFFFFFu) | ((grey[x] >> 8 & 0xFFu) << 24);
    }
    icon.addPixmap(QPixmap::fromImage(image));
  }
  QApplication::setWindowIcon(icon);
}

TCursor ScreenCursor() { return screenCursor; }

void SetScreenCursor(TCursor value) {
  if (value == screenCursor) return;
  const bool hadOverride = screenCursor != crDefault;
  screenCursor = value;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;  // no windows
  if (hadOverride) QGuiApplication::restoreOverrideCursor();
  if (value != crDefault) QGuiApplication::setOverrideCursor(QtCursor(value));
}

int ShowPopupMenu(const std::vector<TPopupMenuItem>& items, TPoint screenPos) {
  int chosenIndex = -1;
  if (popupHook) {
    chosenIndex = popupHook(items, screenPos);
  } else {
    QMenu menu;
    std::vector<QAction*> actions;
    for (const TPopupMenuItem& item : items) {
      QAction* action = item.Caption == "-" ? menu.addSeparator()
                                            : menu.addAction(QString::fromStdString(item.Caption));
      action->setEnabled(item.Enabled);
      actions.push_back(action);
    }
    QAction* chosen = menu.exec(QPoint(screenPos.X, screenPos.Y));
    for (size_t i = 0; i < actions.size(); ++i)
      if (actions[i] == chosen) chosenIndex = static_cast<int>(i);
  }
  const bool choosable = chosenIndex >= 0 && chosenIndex < static_cast<int>(items.size()) &&
                         items[chosenIndex].Enabled && items[chosenIndex].Caption != "-";
  return choosable ? chosenIndex : -1;
}

void SetPopupMenuHookForTest(TPopupMenuHook hook) { popupHook = std::move(hook); }

std::optional<TSaveFileAnswer> ShowSaveFileDialog(const TSaveFileRequest& request) {
  if (saveDialogHook) return saveDialogHook(request);
  QStringList filters;
  for (const TSaveFileFilter& f : request.Filters)
    filters << QString::fromStdString(f.Name + " (" + f.Patterns + ")");
  const QString folder =
      request.Folder.empty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                             : QString::fromStdString(request.Folder);
  QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.Title), folder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  // A name typed without an extension gets the selected type's (before the dialog asks about
  // replacing a file of that name).
  auto suffixOf = [&request](qsizetype filterIndex) {
    if (filterIndex < 0 || filterIndex >= qsizetype(request.Filters.size())) return QString();
    const QString first = QString::fromStdString(request.Filters[filterIndex].Patterns).section(' ', 0, 0);
    return first.startsWith("*.") && !first.mid(2).contains('*') ? first.mid(2) : QString();
  };
  if (request.FilterIndex >= 0 && request.FilterIndex < filters.size())
    dialog.selectNameFilter(filters[request.FilterIndex]);
  dialog.setDefaultSuffix(suffixOf(request.FilterIndex));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filters.indexOf(filter))); });
  dialog.selectFile(QString::fromStdString(request.FileName));
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return TSaveFileAnswer{QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdString(),
                         static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

void SetSaveFileDialogHookForTest(TSaveFileDialogHook hook) { saveDialogHook = std::move(hook); }

namespace {
std::function<void()>& beepHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void MessageBeep() {
  if (beepHook()) beepHook()();
  else QApplication::beep();
}

void SetBeepHookForTest(std::function<void()> hook) { beepHook() = std::move(hook); }
