#pragma once
// TNativeEditHost: a real text-editing control of the toolkit (single-line or multi-line)
// living inside a windowed control's client area. It gives the flat edit and memo input
// methods (Chinese input), selection, undo and the clipboard; the hosting control keeps
// painting its own frame around it.
//
// The host keeps its own copy of every setting, so a control can be configured before its
// form has a window; the toolkit widget is made when the form is first shown.
#include <functional>
#include <memory>
#include <string>

#include "platform/core/types.h"
#include "platform/gfx/graphics.h"

class TWinControl;

enum TNativeEditKind { nekSingleLine, nekMultiLine };
enum TNativeScrollBars { nsbNone, nsbHorizontal, nsbVertical, nsbBoth };
enum TNativeAlignment { naLeft, naRight, naCenter };
enum TNativeCharCase { nccNormal, nccUpperCase, nccLowerCase };

class TNativeEditHost {
 public:
  TNativeEditHost(TWinControl& owner, TNativeEditKind kind);
  ~TNativeEditHost();
  TNativeEditHost(const TNativeEditHost&) = delete;
  TNativeEditHost& operator=(const TNativeEditHost&) = delete;

  // Places the widget over the owner's client area (form coordinates), shows it while the
  // owner is showing and enables it with the owner. Creates it once the form has a window.
  void SyncGeometry();
  void TakeKeyboardFocus();
  // A hidden editor keeps its text and settings but never shows or takes the keyboard: the
  // owner paints its client area itself (an editor that shows a description of its value).
  void SetHidden(bool value);
  bool Hidden() const;
  bool HasKeyboardFocus() const;

  std::string Text() const;
  void SetText(const std::string& text);
  void SetReadOnly(bool value);
  bool ReadOnly() const;
  void SetMaxLength(int value);  // characters; 0 = no limit
  void SetPasswordChar(char32_t value);  // 0 = none
  void SetAlignment(TNativeAlignment value);
  void SetCharCase(TNativeCharCase value);
  void SetColors(TColor background, TColor text);
  void SetFont(const TFont& font);
  void SetWordWrap(bool value);
  void SetScrollBars(TNativeScrollBars value);
  void SetWantReturns(bool value);
  void SetWantTabs(bool value);

  int SelStart() const;  // characters
  int SelLength() const;
  void SetSelStart(int value);
  void SetSelLength(int value);
  std::string SelText() const;
  void SelectAll();
  bool Modified() const;
  void SetModified(bool value);
  bool CanUndo() const;
  bool CanRedo() const;
  // Forgets the undo and redo steps (the text and selection stay).
  void ClearUndo();
  void Undo();
  void Redo();
  void CutToClipboard();
  void CopyToClipboard();
  // A single-line editor takes only the first line of a pasted (or dropped) text, by every
  // road: this call, the paste keys, its context menu, the middle button and drops.
  void PasteFromClipboard();
  void ClearSelection();
  // Replaces the selection (or inserts at the caret) as one undo step; the read-only flag and
  // the length limit do not stop it: the owner decided already.
  void ReplaceSelection(const std::string& text);

  // The text changed (by the user or by SetText).
  std::function<void()> OnChange;
  // When set, every character the user types (a key's text, or an input method's finished
  // composition, one character at a time) goes here instead of into the editor: the owner
  // decides and puts what it accepts in with ReplaceSelection.
  std::function<void(char32_t ch)> OnCharTyped;
  // When set, the editor's own context menu is not shown: the hook gets the request (the
  // mouse position in screen coordinates, or the keyboard's request) and shows its own.
  std::function<void(TPoint screenPos, bool fromKeyboard)> OnContextMenu;
  // When set, every left press in the editor (isDouble: the second press of a double click)
  // is announced first, with the point in the owner's client coordinates; answering true for
  // a single press makes the editor take it as a double click (it selects the word).
  std::function<bool(TPoint clientPos, bool isDouble)> OnMousePress;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};
