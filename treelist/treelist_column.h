#pragma once
// TqlTreeListColumn / TqlTreeListMaskColumn: one column of the grid with its header, cell
// appearance and placement.
//
// A column is a component: its owner (normally the form) frees it, and the control it belongs
// to only lists it. Destroying a column takes it out of its control (and the column's text out
// of every node); destroying the control first detaches its columns.
//
// Placement: BandIndex (absolute band index, -1 = none), StoredRowIndex (the header row the
// column wants) and its position in the control's column list. RowIndex is StoredRowIndex
// limited to the header panel's rows, so a column remembers a deeper row while the panel is
// shallower. ColIndex is derived: the position among the visible columns of the same band
// and row, in list order.
//
// Assigned values: Alignment, Caption, ReadOnly, Width, Color, Font and MaxLength read the
// column class's default (or the control's value) until assigned; the Is...Stored functions
// say which values a stored description of the column would contain.
#include <memory>
#include <string>

#include "platform/core/alignment.h"
#include "platform/core/component.h"
#include "platform/core/option_set.h"
#include "platform/gfx/graphics.h"
#include "platform/ui/control_types.h"
#include "treelist/custom_draw.h"
#include "treelist/edit_validate.h"
#include "treelist/treelist_types.h"

class TBitmap;
struct TqlCellImage;
class TCustomqlTreeListControl;

// The assigned-values set; the bit of value v is 1 << v (Alignment 1, Caption 2, ReadOnly 4,
// Width 8, Color 16, Font 32, MaxLength 64).
enum TqlTreeListColumnAssignedValue {
  tcvAlignment, tcvCaption, tcvReadOnly, tcvWidth, tcvColor, tcvFont, tcvMaxLength
};
using TqlTreeListColumnAssignedValues = TOptionSet<TqlTreeListColumnAssignedValue>;

class TqlInplaceEdit;

class TqlTreeListColumn : public TComponent {
 public:
  static constexpr int kDefaultMinWidth = 20;

  explicit TqlTreeListColumn(TComponent* AOwner);
  ~TqlTreeListColumn() override;

  // The control that lists the column (null when none). Setting it moves the column to the
  // end of the new control's list.
  TCustomqlTreeListControl* TreeList() const { return treeList_; }
  void SetTreeList(TCustomqlTreeListControl* value);
  int Index() const;           // position in the control's column list; -1 without a control
  // Clamped to 0..count-1; moves every node's text of the column with it.
  void SetIndex(int absoluteIndex);

  // --- values with an assigned bit -----------------------------------------------------
  TqlTreeListColumnAssignedValues AssignedValues() const { return assigned_; }
  TAlignment Alignment() const;
  void SetAlignment(TAlignment value);
  std::string Caption() const;
  void SetCaption(const std::string& value);
  TColor Color() const;
  void SetColor(TColor value);
  // The column's font: a private copy of the control's Font until assigned. Changing it
  // through this object marks it assigned.
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value);
  int MaxLength() const;
  void SetMaxLength(int value);
  // Also true while the control as a whole is read-only.
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  int Width() const { return width_; }
  // Never below MinWidth; marks Width assigned when it was already or the value differs from
  // the default width.
  void SetWidth(int value);

  // --- plain values ----------------------------------------------------------------------
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  bool DisableCaption() const { return disableCaption_; }
  void SetDisableCaption(bool value);
  bool DisableCustomizing() const { return disableCustomizing_; }
  void SetDisableCustomizing(bool value);
  bool DisableDragging() const { return disableDragging_; }
  void SetDisableDragging(bool value);
  bool DisableEditor() const { return disableEditor_; }
  void SetDisableEditor(bool value);
  bool DisableFilter() const { return disableFilter_; }
  void SetDisableFilter(bool value);
  TAlignment HeaderAlignment() const { return headerAlignment_; }
  void SetHeaderAlignment(TAlignment value);
  // Null while the column has no glyph; setting null frees it, anything else is copied.
  TBitmap* HeaderGlyph() const { return headerGlyph_.get(); }
  void SetHeaderGlyph(const TBitmap* value);
  bool HasGlyph() const;
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int value);  // negative becomes 0; Width is raised to it
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value);
  char32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char32_t value);
  bool Sizing() const { return sizing_; }
  void SetSizing(bool value);
  TqlTreeListColumnSort Sorted() const { return sorted_; }
  void SetSorted(TqlTreeListColumnSort value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  TTextLayout VertAlignment() const { return vertAlignment_; }
  void SetVertAlignment(TTextLayout value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int HeaderMaxLineCount() const { return headerMaxLineCount_; }
  void SetHeaderMaxLineCount(int value);  // negative becomes 0 (= all header rows)

  // --- placement -------------------------------------------------------------------------
  int BandIndex() const { return bandIndex_; }
  void SetBandIndex(int value);  // clamped to -1..band count-1
  int RowIndex() const;
  // Clamped to 0..header panel rows-1; sets StoredRowIndex too.
  void SetRowIndex(int value);
  int StoredRowIndex() const { return storedRowIndex_; }
  // The streamed row the column wants (read back after RowIndex); negative becomes 0.
  void SetStoredRowIndex(int value);
  int ColIndex() const;  // -1 while not shown
  void SetColIndex(int value);
  // Position in the control's sorted-columns list as last read from a stored description;
  // -1 when none (the sorting layer consumes it after loading).
  int PendingSortedOrder() const { return pendingSortedOrder_; }
  void SetPendingSortedOrder(int value) { pendingSortedOrder_ = value; }

  // --- defaults of the column class -------------------------------------------------------
  virtual TAlignment DefaultAlignment() const { return taLeftJustify; }
  virtual std::string DefaultCaption() const { return {}; }
  virtual int DefaultWidth() const { return 100; }
  TColor DefaultColor() const;  // the control's Color, clWindow without a control

  // --- what a stored description holds ---------------------------------------------------
  bool IsAlignmentStored() const { return assigned_.contains(tcvAlignment); }
  bool IsCaptionStored() const;
  bool IsColorStored() const;
  bool IsFontStored() const { return assigned_.contains(tcvFont); }
  bool IsHeaderGlyphStored() const { return HasGlyph(); }
  bool IsMaxLengthStored() const;
  bool IsReadOnlyStored() const;
  bool IsWidthStored() const { return assigned_.contains(tcvWidth); }
  bool IsStoredRowIndexStored() const { return storedRowIndex_ != 0; }

  // Clears the assigned values and resets the plain values to their defaults.
  virtual void RestoreDefaults();
  // Copies values, assigned bits and placement (not the control or the name).
  virtual void Assign(const TqlTreeListColumn& source);

  TNotifyEvent OnChange;  // the editor's text changed
  TqlEditValidateEvent OnValidate;  // the editor's text is about to be written

  // ----- in-place editing (treelist_control_editing.cpp) -------------------------------------
  // The kind of editor the column edits with: one editor of each kind is kept by the grid
  // and shared by its columns of that kind.
  virtual std::string EditorKind() const { return "text"; }
  // A new editor of the column's kind, owned by the grid.
  virtual TqlInplaceEdit* CreateEditor(TComponent* owner) const;
  // The column's settings on the editor: read-only, the change and validate hooks, and for a
  // text editor CharCase, MaxLength, OEMConvert and PasswordChar.
  virtual void ApplyEditorSettings(TqlInplaceEdit& editor);
  // What a data cell of the column shows for its text: the base shows the text as it is
  // (false); an image column shows a description and an image.
  virtual bool CellDisplay(std::string& text, TqlCellImage& image) const { return false; }
  // The column's editor has a drop-down button (the drop-down columns).
  virtual bool HasEditorButton() const { return false; }
  // The column's own custom drawing; runs after the grid's handler of the same kind.
  TqlTLCustomDrawCell OnCustomDrawCell;
  TqlTLCustomDrawHeader OnCustomDrawColumnHeader;

 protected:
  // Tells the control; naming the column lets it re-derive an unassigned width.
  void changed(bool namesColumn);

 private:
  friend class TCustomqlTreeListControl;
  // Called by the control: copy its font while the column's own is not assigned.
  void refreshFontFromControl();
  // The width an unassigned Width follows.
  void rederiveWidth();
  void fontChanged();
  void copyFontQuietly(const TFont& source);  // leaves the assigned bit alone
  // Stores a plain value and notifies when it changed.
  template <typename T>
  void setField(T& field, T value, bool namesColumn) {
    if (field == value) return;
    field = value;
    changed(namesColumn);
  }

  TCustomqlTreeListControl* treeList_ = nullptr;  // non-owning; lists this column
  TAlignment alignment_ = taLeftJustify;          // read while tcvAlignment is assigned
  std::string caption_;                           // read while tcvCaption is assigned
  TEditCharCase charCase_ = ecNormal;
  TColor color_ = clWindow;                       // read while tcvColor is assigned
  bool disableCaption_ = false;
  bool disableCustomizing_ = false;
  bool disableEditor_ = false;
  bool disableDragging_ = false;
  TFont font_;                                    // the control's font while unassigned
  TAlignment headerAlignment_ = taLeftJustify;
  std::unique_ptr<TBitmap> headerGlyph_;          // null while no glyph
  int maxLength_ = 0;                             // read while tcvMaxLength is assigned
  int minWidth_ = kDefaultMinWidth;               // >= 0
  bool oemConvert_ = false;
  char32_t passwordChar_ = 0;
  bool readOnly_ = false;                         // read while tcvReadOnly is assigned
  int pendingSortedOrder_ = -1;
  bool sizing_ = true;
  bool tabStop_ = true;
  TTextLayout vertAlignment_ = tlTop;
  bool visible_ = true;
  int width_ = 100;                               // >= minWidth_
  TqlTreeListColumnAssignedValues assigned_;
  int bandIndex_ = 0;                             // >= -1
  int rowIndex_ = 0;                              // >= 0; the row the header compaction settled on
  int headerMaxLineCount_ = 1;                    // >= 0
  int storedRowIndex_ = 0;                        // >= 0
  bool disableFilter_ = false;
  TqlTreeListColumnSort sorted_ = csNone;
  bool copyingControlFont_ = false;               // true while the control's font is copied in
};

// A column whose editor applies an edit mask.
class TqlTreeListMaskColumn : public TqlTreeListColumn {
 public:
  using TqlTreeListColumn::TqlTreeListColumn;

  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& value);
  bool IgnoreMaskBlank() const { return ignoreMaskBlank_; }
  void SetIgnoreMaskBlank(bool value);

  void RestoreDefaults() override;  // also clears EditMask
  void Assign(const TqlTreeListColumn& source) override;

  // Edited with the mask editor, which gets EditMask and IgnoreMaskBlank.
  std::string EditorKind() const override { return "mask"; }
  TqlInplaceEdit* CreateEditor(TComponent* owner) const override;
  void ApplyEditorSettings(TqlInplaceEdit& editor) override;

 private:
  std::string editMask_;
  bool ignoreMaskBlank_ = false;
};
