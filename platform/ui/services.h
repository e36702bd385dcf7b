#pragma once
// Services of the window system that controls call directly: cursor position and capture,
// screen geometry, metrics, clipboard, tick count, cursors, popup menus, the save dialog.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/types.h"
#include "platform/ui/control.h"

class TBitmap;

// The cursor position in screen coordinates, as last set: the toolkit bridge sets it from
// every mouse event, a program or test may place it (the pointer on screen does not move).
TPoint GetCursorPos();
void SetCursorPos(TPoint screenPos);

// The topmost control under a screen point, across the shown forms (disabled controls
// included when allowDisabled), or nullptr.
TControl* FindControlAtScreen(TPoint screenPos, bool allowDisabled);
// The windowed control under a screen point (WindowFromPoint).
TWinControl* WindowFromPoint(TPoint screenPos);

// Mouse capture: every mouse message goes to this control until released.
void SetCapture(TControl* control);
void ReleaseCapture();
TControl* GetCapture();

// Posted messages: queued for the control's WndProc and delivered by the event loop once the
// input being handled is done (in tests: at the next ProcessMessages). A control that is
// destroyed first never gets them.
void PostMessage(TControl* control, uint32_t Msg, intptr_t WParam = 0, intptr_t LParam = 0);
// Takes a control's pending messages off the queue (Msg 0: every one of them).
void RemovePostedMessages(TControl* control, uint32_t Msg = 0);
bool HasPostedMessage(const TControl* control, uint32_t Msg);

// Keys held now (from the last input), Ctrl / Alt / Shift.
bool IsKeyDown(uint16_t vk);

// Screen and work area (the screen minus panels), in pixels.
TRect ScreenRect();
TRect WorkAreaRect();

// System metrics (Win32 SM_* values used by the controls).
enum TSystemMetric {
  SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4, SM_CXBORDER = 5, SM_CYBORDER = 6,
  SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CXHSCROLL = 21, SM_CYVSCROLL = 20,
  SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXFRAME = 32, SM_CYFRAME = 33,
  SM_CXDRAG = 68, SM_CYDRAG = 69, SM_CXEDGE = 45, SM_CYEDGE = 46
};
int GetSystemMetrics(int metric);
int GetDoubleClickTime();
// Lines scrolled per wheel notch.
int GetWheelScrollLines();

// Milliseconds since an arbitrary start (wraps like GetTickCount). Tests may set it.
uint32_t GetTickCount();
void SetTickCountForTest(std::function<uint32_t()> source);

// The default beep of a refused key or value; tests may count the beeps instead.
void MessageBeep();
void SetBeepHookForTest(std::function<void()> hook);

// Plain-text clipboard (UTF-8).
void ClipboardSetText(const std::string& text);
std::string ClipboardGetText();

// The program's icon. One size of it is a colour bitmap and an opacity bitmap of the same size
// whose grey level is each pixel's coverage (black transparent, white opaque, greys between).
struct TIconPicture {
  const TBitmap* Colors;
  const TBitmap* Opacity;
};
// Puts the icon on every window of the program (title bar, task switcher); the window system
// picks the size it needs. The pictures are copied.
void SetApplicationIcon(const std::vector<TIconPicture>& sizes);

// Cursors: register a picture cursor under a number of the component's own; the picture's
// transparent colour is see-through, and a number registered again gets the new picture. The
// standard cursors and the ones the platform draws (cursor_shapes.h) exist already.
void RegisterCursor(TCursor id, const TBitmap& image, TPoint hotSpot);
bool CursorRegistered(TCursor id);
// The screen cursor: while it is not crDefault it shows over every window of the program (a
// long operation's hourglass); crDefault gives the controls their own cursors back.
TCursor ScreenCursor();
void SetScreenCursor(TCursor value);
// Shows the hourglass for a scope when asked; the cursor before it comes back also when an
// exception leaves the scope.
class THourglassScope {
 public:
  explicit THourglassScope(bool show) : shown_(show), saved_(show ? ScreenCursor() : crDefault) {
    if (shown_) SetScreenCursor(crHourGlass);
  }
  ~THourglassScope() {
    if (shown_) SetScreenCursor(saved_);
  }
  THourglassScope(const THourglassScope&) = delete;
  THourglassScope& operator=(const THourglassScope&) = delete;

 private:
  const bool shown_;
  const TCursor saved_;  // the screen cursor before; meaningful while shown_
};

// A popup menu of plain items, shown at a screen point until the user chooses or dismisses
// it. An item captioned "-" is a separator; a disabled item is shown grey and cannot be
// chosen. Returns the chosen item's index, or -1.
struct TPopupMenuItem {
  std::string Caption;
  bool Enabled = true;
};
int ShowPopupMenu(const std::vector<TPopupMenuItem>& items, TPoint screenPos);
// Tests answer in the menu's place: the hook gets the items and the point and returns an
// index; an index the menu could not give (a separator, a disabled item, out of range) comes
// back as -1.
using TPopupMenuHook = std::function<int(const std::vector<TPopupMenuItem>&, TPoint screenPos)>;
void SetPopupMenuHookForTest(TPopupMenuHook hook);

// The toolkit's modal dialog that asks where to save a file. Filters are offered in order,
// each a name and its patterns ("CSV 文件", "*.csv"); FileName is the name proposed, in
// Folder when given (else the user's documents folder). The toolkit asks before replacing
// an existing file.
struct TSaveFileFilter {
  std::string Name;
  std::string Patterns;  // space-separated, "*.csv"
};
struct TSaveFileRequest {
  std::string Title;
  std::string Folder;
  std::string FileName;
  std::vector<TSaveFileFilter> Filters;
  int FilterIndex = 0;  // the filter selected at first
};
struct TSaveFileAnswer {
  std::string Path;     // absolute, UTF-8
  int FilterIndex = 0;  // the filter selected when the user accepted
};
// The user's answer, or nothing when the dialog was cancelled.
std::optional<TSaveFileAnswer> ShowSaveFileDialog(const TSaveFileRequest& request);
// Tests answer in the dialog's place.
using TSaveFileDialogHook = std::function<std::optional<TSaveFileAnswer>(const TSaveFileRequest&)>;
void SetSaveFileDialogHookForTest(TSaveFileDialogHook hook);
