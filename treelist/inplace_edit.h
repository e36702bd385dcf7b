#pragma once
// TqlInplaceEdit: the base of the in-place editors a grid lays over its focused cell. The
// editor is owned by its container (the grid) and asks it the container contract's questions
// (container.h); without a container every question gets the container base's answer.
//
// What it keeps, by lifetime:
//   per activation  the text and modified flag captured when it became active (Escape puts
//                   them back)
//   per binding     hidden-by-container (set while the grid has it hidden), the click time
//   settings        read-only, alignment, text margins, the change and validate hooks the
//                   column points at itself
//   counters        the activation lock (a show does not run the activation hook) and the
//                   validation lock (validation is skipped); both held by scope guards
//
// Key routing (WMKeyDown, WMChar) follows the order of work in the .cpp: Escape restores;
// navigation keys validate and go to the grid, which ends the edit and moves; the grid's
// OnKeyDown and OnKeyPress see the rest first; keys and characters that would change
// read-only text are swallowed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/alignment.h"
#include "platform/core/exception.h"
#include "platform/ui/win_control.h"
#include "treelist/edit_style.h"
#include "treelist/edit_validate.h"

class TCustomqlContainer;

// The keys that end an edit and then move in the grid: Tab, Enter, Escape, Page Up, Page
// Down, Up and Down (the editor validates before handing them on; the grid closes the editor
// before acting on them).
bool IsEditNavigationKey(uint16_t key);

// Counts one hold of a lock counter for a scope.
class TqlCounterScope {
 public:
  explicit TqlCounterScope(int& counter) : counter_(counter) { ++counter_; }
  ~TqlCounterScope() { --counter_; }
  TqlCounterScope(const TqlCounterScope&) = delete;
  TqlCounterScope& operator=(const TqlCounterScope&) = delete;

 private:
  int& counter_;
};

class TqlInplaceEdit : public TCustomControl, public TqlStyledEditor {
 public:
  explicit TqlInplaceEdit(TComponent* AOwner);
  ~TqlInplaceEdit() override;

  // The owner when it is a container, else null.
  TCustomqlContainer* Container() const { return container_; }

  // ----- text ---------------------------------------------------------------------------------
  virtual std::string EditText() const { return text_; }
  // Assigned by code: no change notification reaches the hooks.
  virtual void SetEditText(const std::string& value);
  // The value the editor hands to its data (a masked editor strips its template).
  virtual std::string ValueText() const { return EditText(); }
  virtual bool Modified() const { return modified_; }
  virtual void SetModified(bool value) { modified_ = value; }
  bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool value) { readOnly_ = value; }
  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment value) { alignment_ = value; }
  const TRect& TextMargins() const { return textMargins_; }
  virtual void SetTextMargins(const TRect& value) { textMargins_ = value; }
  // The text may change: not read-only, and the container lets the value change.
  bool CanModifyText() const;

  // ----- operations ---------------------------------------------------------------------------
  // Skipped when the text is not modified or the validation lock is held; a refused value
  // beeps, takes the focus back to a visible editor and throws EqlEditInvalidInput.
  virtual void Validate();
  // Escape: the text and modified flag captured when the editor became active.
  virtual void Restore();
  void Activate();
  void Deactivate() { active_ = false; }
  bool Active() const { return active_; }
  virtual void SelectAll() {}
  // The caret to the end of the text, nothing selected.
  virtual void CaretToEnd() {}
  // Lays the editor at a rectangle of its parent and shows it; the activation hook runs
  // unless it was visible already or the activation lock is held.
  void ShowAt(const TRect& bounds);
  // Hides the window (the grid repaints what it covered).
  void HideWindow();
  // The grid showed the editor for a click on its cell and passes the click on: a point of
  // the editor's window (frame included) and the buttons held (the left one while it is still
  // down, none when the editor came on the release). The base does nothing with it.
  virtual void ContainerMouseDown(TPoint windowPos, TShiftState shift) {}

  int& ActivationLock() { return activationLock_; }
  int& ValidationLock() { return validationLock_; }
  bool HiddenByContainer() const { return hiddenByContainer_; }
  void SetHiddenByContainer(bool value) { hiddenByContainer_ = value; }
  uint32_t ClickTime() const { return clickTime_; }
  void SetClickTime(uint32_t value) { clickTime_ = value; }

  // The column's hooks: the text changed; validate the text (ErrorText and Accept as above).
  std::function<void()> ChangeHook;
  std::function<void(std::string& ErrorText, bool& Accept)> ValidateHook;

  // The edit style the container made for the editor (or a plain one without a container);
  // its border takes the editor's outer pixels, the text window sits inside it.
  TqlEditStyle& Style() const { return *style_; }
  void StyleChanged() override;
  // The border's width on each side the style gives it: 0, 1 (single) or 2.
  int BorderWidth() const;
  void WMNCPaint(TCanvas& canvas) override;
  // The content rectangle in window coordinates: inside the border and its margin, before
  // anything the editor keeps beside its text (InnerInsets).
  TRect FrameContentRect() const;

 protected:
  // What the editor keeps of its content rectangle besides the text window, per side (the
  // drop-down editor's buttons).
  virtual TRect InnerInsets() const { return {}; }
  // Runs when the editor becomes visible for an edit (selects, places the caret...).
  virtual void ActivationHook() {}
  // The text changed by the user: the editor's OnChange, then the change hook.
  void TextChanged();
  // A left press in the text (isDouble: a double click's second press). A double click raises
  // DblClick; a single press within the double-click time after the grid's press that opened
  // the editor (when the container asks for it) is one too, and the answer is true: the
  // editor takes the press as a double click. Either way the grid's press time is used up.
  bool NoteTextPress(bool isDouble);
  // A character typed at the caret; the text editor puts it in (after the case and length
  // rules). The base keeps its own text.
  virtual void InsertTyped(char32_t ch);

  void WMKeyDown(TWMKey& msg) override;
  void WMKeyUp(TWMKey& msg) override;
  void WMChar(char32_t& ch) override;
  int WMGetDlgCode() override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void WMMouseWheel(TWMMouseWheel& msg) override;

  bool assigningText_ = false;  // the text is being set by code

 private:
  bool dropsKeys() const;

  TCustomqlContainer* container_ = nullptr;  // the owner as a container, or null
  std::unique_ptr<TqlEditStyle> style_;       // never null
  std::string text_;                         // the base's own text
  bool modified_ = false;
  bool readOnly_ = false;
  TAlignment alignment_ = taLeftJustify;
  TRect textMargins_{};
  int activationLock_ = 0;
  int validationLock_ = 0;
  bool hiddenByContainer_ = false;
  uint32_t clickTime_ = 0;   // the grid's last left press, 0 once used
  bool active_ = false;
  std::string previousText_;
  bool previousModified_ = false;
};
