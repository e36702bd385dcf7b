// TCustomqlTreeListControl, in-place editing: when the editor shows, how it is bound to the
// focused cell and loaded, how its value is written and how it goes away; and the grid's
// answers to the container contract.
//
// Show (ShowEditor): editing on, no row select, a focused node -> OnEditing and the column's
// DisableEditor may refuse -> idle, a focused column -> the column and node scrolled into view,
// state editing -> the kind's editor (made once per kind) bound to the cell: an editor bound
// elsewhere is committed and hidden there first; binding loads the cell's text, applies the
// column's settings and activates it -> laid over the cell grown by 2 pixels and focused.
// End (HideEditor / HideEditorWithFocus): validate (a refusal throws and nothing changes) ->
// idle -> write when modified, OnEdited always -> the editor hidden -> the focus back to the
// grid when asked or when the editor had it.
#include <algorithm>

#include "platform/ui/form.h"
#include "treelist/editor_buttons.h"
#include "treelist/inplace_mask_edit.h"
#include "treelist/inplace_text_edit.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_edit_style.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

// ===== the column's side =====================================================================

TqlInplaceEdit* TqlTreeListColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplaceTreeListTextEdit(owner);
}

void TqlTreeListColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  editor.SetReadOnly(ReadOnly());
  editor.SetAlignment(Alignment());
  editor.ChangeHook = [this] {
    TCustomqlTreeListControl* grid = TreeList();
    if (!grid || grid->IsInitialisingEditor()) return;
    if (grid->OnEditChange) grid->OnEditChange(this);
    if (OnChange) OnChange(this);
  };
  editor.ValidateHook = [this](std::string& errorText, bool& accept) {
    TCustomqlTreeListControl* grid = TreeList();
    if (!grid || grid->IsInitialisingEditor()) return;
    if (grid->OnEditValidate) grid->OnEditValidate(this, errorText, accept);
    if (OnValidate) OnValidate(this, errorText, accept);
  };
  if (auto* text = dynamic_cast<TqlInplaceTextEdit*>(&editor)) {
    text->SetCharCase(CharCase());
    text->SetMaxLength(MaxLength());
    text->SetOEMConvert(OEMConvert());
    text->SetPasswordChar(PasswordChar());
    text->ClearUndo();
  }
}

TqlInplaceEdit* TqlTreeListMaskColumn::CreateEditor(TComponent* owner) const {
  return new TqlInplaceMaskEdit(owner);
}

void TqlTreeListMaskColumn::ApplyEditorSettings(TqlInplaceEdit& editor) {
  TqlTreeListColumn::ApplyEditorSettings(editor);
  if (auto* masked = dynamic_cast<TqlInplaceMaskEdit*>(&editor)) {
    masked->SetEditMask(EditMask());
    masked->SetIgnoreMaskBlank(IgnoreMaskBlank());
  }
}

// ===== showing ===============================================================================

void TCustomqlTreeListControl::ShowEditor() {
  TqlTreeListNode* node = FocusedNode();
  if (!IsOption(tloEditing) || IsOption(tloRowSelect) || !node) return;
  const int column = FocusedAbsoluteColumn();
  bool allow = true;
  if (OnEditing) OnEditing(this, node, allow);
  if (allow && column >= 0) allow = !Columns(column)->DisableEditor();
  if (!allow) {
    ForgetEditorCell();
    return;
  }
  if (State() != tsNormal || column < 0 || FocusedNode() != node) return;
  MakeAbsoluteColumnVisible(column);
  node->MakeVisible();
  SetState(tsEditing);

  bool created = false;
  TqlInplaceEdit* editor = editorForColumn(column, created);
  // An editor still bound to another cell (or another kind's editor) is written and hidden
  // there first; an unbound editor is bound to this cell.
  if (editor_ && EditorNode() &&
      (editor_ != editor || EditorNode() != node || editorColumn_ != column))
    commitAndHide(*editor_);
  if (created || !EditorNode()) prepareEditor(*editor, node, column);
  editor_ = editor;
  const TRect cell = CellRect(node, column);
  if (State() == tsEditing && LockUpdate() == 0 && !cell.IsEmpty()) {
    editor->ShowAt(cell.Inflate(2, 2));
  } else {
    ForgetEditorCell();
  }
}

void TCustomqlTreeListControl::ShowEditorWithKey(char32_t Key) {
  ShowEditor();
  if (!EditorExists()) return;
  // The key goes into the editor as if typed there (Ctrl+V pastes, Ctrl+X cuts).
  if (auto* text = dynamic_cast<TqlInplaceTextEdit*>(editor_)) {
    if (Key == 0x16) return text->PasteFromClipboard();
    if (Key == 0x18) return text->CutToClipboard();
    if (Key == 8) {
      if (text->CanModifyText()) text->ClearSelection();
      return;
    }
  }
  char32_t ch = Key;
  editor_->DispatchChar(ch);
}

bool TCustomqlTreeListControl::IsEditorButtonAt(int column, TqlTreeListNode* node,
                                                TPoint clientPoint) const {
  if (!IsOption(tloShowButtonAlways) || !GetColumnHasEditorButton(column) || !node) return false;
  const TRect cell = CellRect(node, column);
  if (!cell.Contains(clientPoint)) return false;
  TqlCellEditorSettings settings;
  FillCellEditorSettings(column, settings);
  return clientPoint.X >= cell.Right - EditButtonWidth(settings.ButtonStyle, TqlEditButton{});
}

void TCustomqlTreeListControl::ShowEditorFromClick(TPoint clientPoint, TShiftState shift) {
  ShowEditor();
  if (!EditorExists()) return;
  editor_->SetClickTime(Input().Press().Time);  // a quick second press is a double click
  editor_->ContainerMouseDown({clientPoint.X - editor_->Left(), clientPoint.Y - editor_->Top()},
                              shift);
}

TqlInplaceEdit* TCustomqlTreeListControl::editorForColumn(int column, bool& created) {
  const std::string kind = Columns(column)->EditorKind();
  for (auto& [k, editor] : editors_)
    if (k == kind) return editor;
  TqlInplaceEdit* editor = Columns(column)->CreateEditor(this);
  editor->SetVisible(false);
  editor->SetParent(this);
  editors_.push_back({kind, editor});
  created = true;
  return editor;
}

// Binds the editor to a cell and loads it.
void TCustomqlTreeListControl::prepareEditor(TqlInplaceEdit& editor, TqlTreeListNode* node,
                                             int column) {
  SetEditorNode(node);
  editorColumn_ = column;
  if (editor.Parent() != this) editor.SetParent(this);
  TqlEditorLoadingScope loading(*this);
  editor.SetHiddenByContainer(false);
  editor.SetColor(EditorColor());
  editor.Font().Assign(EditorFont());
  editor.SetTextMargins({1, 0, 0, 0});
  editor.StyleChanged();  // the border follows the grid's look (none while grid lines show)
  Columns(column)->ApplyEditorSettings(editor);
  editor.SetEditText(EditorLoadText(node, column));
  editor.SetEditText(editor.EditText());  // read back: the editor's case rule applies
  editor.SetModified(false);
  if (IsReadOnly()) editor.SetReadOnly(true);
  editor.Activate();
}

std::string TCustomqlTreeListControl::EditorLoadText(TqlTreeListNode* node, int column) const {
  return GetCellText(node, column);
}

void TCustomqlTreeListControl::AssignEditValue(TqlTreeListNode* node, int column,
                                               TqlInplaceEdit& editor) {
  node->SetText(column, editor.ValueText());
}

// ===== ending ================================================================================

// Steps 3 and 4 of ending an edit: write when modified, OnEdited, forget the cell, hide.
void TCustomqlTreeListControl::commitAndHide(TqlInplaceEdit& editor) {
  editor.SetHiddenByContainer(true);
  TqlTreeListNode* node = EditorNode();
  if (!IsDestroying() && node) {
    if (editorColumn_ >= 0 && editor.Modified()) AssignEditValue(node, editorColumn_, editor);
    if (OnEdited) OnEdited(this, node);
  }
  ForgetEditorCell();
  if (editor.Visible()) {
    InvalidateRect({editor.Left(), editor.Top(), editor.Left() + editor.Width(),
                    editor.Top() + editor.Height()});
    editor.HideWindow();
  }
}

void TCustomqlTreeListControl::endEditing(bool takeFocus) {
  if (State() != tsEditing || !editor_) return;
  TqlInplaceEdit& editor = *editor_;
  if (!IsDestroying()) editor.Validate();
  SetState(tsNormal);
  const bool editorHadFocus = editor.Focused();
  commitAndHide(editor);
  if ((takeFocus || editorHadFocus) && Visible() && CanFocus()) SetFocus();
}

void TCustomqlTreeListControl::ForgetEditorCell() {
  TCustomqlTreeList::ForgetEditorCell();
  editorColumn_ = -1;
}

std::string TCustomqlTreeListControl::EditingText() const {
  return EditorExists() ? editor_->EditText() : std::string();
}

void TCustomqlTreeListControl::SetEditingText(const std::string& value) {
  if (EditorExists()) editor_->SetEditText(value);
}

// ===== the container contract ================================================================

std::unique_ptr<TqlEditStyle> TCustomqlTreeListControl::CreateEditStyle(
    TqlStyledEditor* editor) const {
  return std::make_unique<TqlTreeListEditStyle>(editor, this);
}

bool TCustomqlTreeListControl::CanEditorModify() const {
  const int column = FocusedAbsoluteColumn();
  return column >= 0 && !Columns(column)->ReadOnly();
}

TColor TCustomqlTreeListControl::EditorColor() const {
  const int column = FocusedAbsoluteColumn();
  return column >= 0 ? Columns(column)->Color() : Color();
}

const TFont& TCustomqlTreeListControl::EditorFont() const {
  const int column = FocusedAbsoluteColumn();
  return column >= 0 && ColumnHasOwnFont(column) ? Columns(column)->Font() : Font();
}

// The focused column moved on without the editor being bound again.
bool TCustomqlTreeListControl::ShouldEditorDropKeys() const {
  return editorColumn_ >= 0 && FocusedAbsoluteColumn() != editorColumn_;
}

void TCustomqlTreeListControl::EditorFocusChanged() {
  if (LockUpdate() > 0 || IsDestroying()) return;
  constexpr int kManySelected = 10;  // past this the whole control repaints
  if (SelectedCount() > kManySelected) return Invalidate();
  const TqlLayoutSnapshot s = BuildLayoutSnapshot();
  for (const TqlRowInfo& row : s.RowInfos)
    if (row.Node == FocusedNode() || IsNodeSelected(row.Node))
      InvalidateRect({s.ClientRect.Left, row.Top, s.ClientRect.Right, row.Top + row.Height});
}

void TCustomqlTreeListControl::MoveToNeighbourColumn(bool left) {
  HideEditorWithFocus();
  const int index = FocusedColumn() + (left ? -1 : 1);
  if (index >= 0 && index < FocusColumnCount())
    SetFocusedNodeAndColumn(FocusedNode(), index, true);
}
