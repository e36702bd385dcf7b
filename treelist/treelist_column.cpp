#include "treelist/treelist_column.h"

#include <algorithm>

#include "platform/core/scope_exit.h"
#include "platform/gfx/bitmap.h"
#include "treelist/treelist_control.h"

TqlTreeListColumn::TqlTreeListColumn(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this](TObject*) { fontChanged(); };
}

TqlTreeListColumn::~TqlTreeListColumn() {
  Destroying();
  if (treeList_) treeList_->columnDestroying(this);
}

void TqlTreeListColumn::SetTreeList(TCustomqlTreeListControl* value) {
  if (treeList_ == value) return;
  if (treeList_) treeList_->RemoveColumn(this);
  if (value) value->AddColumn(this);
}

int TqlTreeListColumn::Index() const { return treeList_ ? treeList_->IndexOfColumn(this) : -1; }

void TqlTreeListColumn::SetIndex(int absoluteIndex) {
  if (treeList_) treeList_->moveColumn(this, absoluteIndex);
}

void TqlTreeListColumn::changed(bool namesColumn) {
  if (treeList_)
    treeList_->ColumnChanged(namesColumn ? this : nullptr);
  else if (namesColumn)
    rederiveWidth();  // a column outside a control still follows its class's default width
}

// ----- values with an assigned bit -------------------------------------------------------------

TAlignment TqlTreeListColumn::Alignment() const {
  return assigned_.contains(tcvAlignment) ? alignment_ : DefaultAlignment();
}

void TqlTreeListColumn::SetAlignment(TAlignment value) {
  alignment_ = value;
  assigned_.include(tcvAlignment);
  changed(true);
}

std::string TqlTreeListColumn::Caption() const {
  return assigned_.contains(tcvCaption) ? caption_ : DefaultCaption();
}

void TqlTreeListColumn::SetCaption(const std::string& value) {
  caption_ = value;
  assigned_.include(tcvCaption);
  changed(true);
}

TColor TqlTreeListColumn::DefaultColor() const { return treeList_ ? treeList_->Color() : clWindow; }

TColor TqlTreeListColumn::Color() const {
  return assigned_.contains(tcvColor) ? color_ : DefaultColor();
}

void TqlTreeListColumn::SetColor(TColor value) {
  color_ = value;
  assigned_.include(tcvColor);
  changed(true);
}

void TqlTreeListColumn::SetFont(const TFont& value) {
  font_.OnChange = nullptr;  // one notification below, not one per copied value
  font_.Assign(value);
  font_.OnChange = [this](TObject*) { fontChanged(); };
  assigned_.include(tcvFont);
  changed(false);
}

void TqlTreeListColumn::fontChanged() {
  if (copyingControlFont_) return;
  assigned_.include(tcvFont);
  changed(false);
}

void TqlTreeListColumn::copyFontQuietly(const TFont& source) {
  copyingControlFont_ = true;
  ScopeExit reset([this] { copyingControlFont_ = false; });
  font_.Assign(source);
}

void TqlTreeListColumn::refreshFontFromControl() {
  if (!treeList_ || assigned_.contains(tcvFont)) return;
  copyFontQuietly(treeList_->Font());
}

int TqlTreeListColumn::MaxLength() const { return assigned_.contains(tcvMaxLength) ? maxLength_ : 0; }

void TqlTreeListColumn::SetMaxLength(int value) {
  maxLength_ = value;
  assigned_.include(tcvMaxLength);
  changed(true);
}

bool TqlTreeListColumn::ReadOnly() const {
  bool own = assigned_.contains(tcvReadOnly) && readOnly_;
  return own || (treeList_ && treeList_->ReadOnly());
}

void TqlTreeListColumn::SetReadOnly(bool value) {
  readOnly_ = value;
  assigned_.include(tcvReadOnly);
  changed(true);
}

void TqlTreeListColumn::SetWidth(int value) {
  value = std::max(value, minWidth_);
  bool wasAssigned = assigned_.contains(tcvWidth);
  if (wasAssigned || value != DefaultWidth()) assigned_.include(tcvWidth);
  if (width_ == value && wasAssigned == assigned_.contains(tcvWidth)) return;
  width_ = value;
  changed(true);
}

void TqlTreeListColumn::rederiveWidth() {
  if (!assigned_.contains(tcvWidth)) width_ = std::max(DefaultWidth(), minWidth_);
}

bool TqlTreeListColumn::IsCaptionStored() const {
  return assigned_.contains(tcvCaption) && caption_ != DefaultCaption();
}

bool TqlTreeListColumn::IsColorStored() const {
  return assigned_.contains(tcvColor) && color_ != DefaultColor();
}

bool TqlTreeListColumn::IsMaxLengthStored() const {
  return assigned_.contains(tcvMaxLength) && maxLength_ != 0;
}

bool TqlTreeListColumn::IsReadOnlyStored() const {
  return assigned_.contains(tcvReadOnly) && readOnly_;
}

// ----- plain values -----------------------------------------------------------------------------

void TqlTreeListColumn::SetCharCase(TEditCharCase value) { setField(charCase_, value, false); }
void TqlTreeListColumn::SetDisableCaption(bool value) { setField(disableCaption_, value, false); }
void TqlTreeListColumn::SetDisableCustomizing(bool value) {
  setField(disableCustomizing_, value, false);
}
void TqlTreeListColumn::SetDisableDragging(bool value) { setField(disableDragging_, value, true); }
void TqlTreeListColumn::SetDisableEditor(bool value) { setField(disableEditor_, value, true); }
void TqlTreeListColumn::SetDisableFilter(bool value) { setField(disableFilter_, value, false); }
void TqlTreeListColumn::SetHeaderAlignment(TAlignment value) {
  setField(headerAlignment_, value, false);
}
void TqlTreeListColumn::SetOEMConvert(bool value) { setField(oemConvert_, value, true); }
void TqlTreeListColumn::SetPasswordChar(char32_t value) { setField(passwordChar_, value, true); }
void TqlTreeListColumn::SetSizing(bool value) { setField(sizing_, value, true); }
void TqlTreeListColumn::SetSorted(TqlTreeListColumnSort value) {
  if (sorted_ == value) return;
  // While loading (or without a control) only the value is stored; the control settles the
  // sorted-columns list after loading.
  if (!treeList_ || treeList_->IsLoading())
    setField(sorted_, value, false);
  else
    treeList_->SetColumnSorted(this, value);
}
void TqlTreeListColumn::SetTabStop(bool value) { setField(tabStop_, value, true); }
void TqlTreeListColumn::SetVertAlignment(TTextLayout value) {
  setField(vertAlignment_, value, true);
}
void TqlTreeListColumn::SetVisible(bool value) { setField(visible_, value, true); }

void TqlTreeListColumn::SetHeaderGlyph(const TBitmap* value) {
  if (!value) {
    if (!headerGlyph_) return;
    headerGlyph_.reset();
  } else if (headerGlyph_) {
    headerGlyph_->Assign(*value);
  } else {
    headerGlyph_ = std::make_unique<TBitmap>(*value);
  }
  changed(false);
}

bool TqlTreeListColumn::HasGlyph() const { return headerGlyph_ && !headerGlyph_->Empty(); }

void TqlTreeListColumn::SetMinWidth(int value) {
  value = std::max(value, 0);
  if (minWidth_ == value) return;
  minWidth_ = value;
  width_ = std::max(width_, minWidth_);
  changed(true);
}

void TqlTreeListColumn::SetHeaderMaxLineCount(int value) {
  value = std::max(value, 0);
  if (headerMaxLineCount_ == value) return;
  headerMaxLineCount_ = value;
  changed(false);
}

// ----- placement --------------------------------------------------------------------------------

void TqlTreeListColumn::SetBandIndex(int value) {
  value = std::max(value, -1);
  // While loading the bands may not all exist yet; the layout skips a missing band.
  if (treeList_ && !IsLoading() && !treeList_->IsLoading())
    value = std::min(value, treeList_->Bands().Count() - 1);
  if (bandIndex_ == value) return;
  bandIndex_ = value;
  changed(true);
}

int TqlTreeListColumn::RowIndex() const {
  int rows = treeList_ ? treeList_->HeaderPanelRowCount() : rowIndex_ + 1;
  return std::clamp(rowIndex_, 0, rows - 1);
}

void TqlTreeListColumn::SetRowIndex(int value) {
  value = std::max(value, 0);
  if (treeList_ && !IsLoading() && !treeList_->IsLoading())
    value = std::min(value, treeList_->HeaderPanelRowCount() - 1);
  if (rowIndex_ == value && storedRowIndex_ == value) return;
  rowIndex_ = storedRowIndex_ = value;
  changed(true);
}

void TqlTreeListColumn::SetStoredRowIndex(int value) {
  value = std::max(value, 0);
  if (storedRowIndex_ == value) return;
  storedRowIndex_ = value;
  changed(true);
}

int TqlTreeListColumn::ColIndex() const {
  return treeList_ ? treeList_->GetColumnColIndex(Index()) : -1;
}

void TqlTreeListColumn::SetColIndex(int value) {
  if (!treeList_ || bandIndex_ < 0) return;
  // The visible columns of this band and row other than this one, in list order.
  std::vector<TqlTreeListColumn*> others;
  for (int i = 0; i < treeList_->ColumnCount(); ++i) {
    TqlTreeListColumn* c = treeList_->Columns(i);
    if (c != this && c->Visible() && c->bandIndex_ == bandIndex_ && c->RowIndex() == RowIndex())
      others.push_back(c);
  }
  if (others.empty()) return;
  int wanted = std::clamp(value, 0, static_cast<int>(others.size()));
  int ownIndex = Index();
  int targetIndex;
  if (wanted < static_cast<int>(others.size())) {
    // In front of the column now at the wanted position.
    targetIndex = others[wanted]->Index();
    if (ownIndex < targetIndex) --targetIndex;
  } else {
    // Behind the last one.
    targetIndex = others.back()->Index();
    if (ownIndex > targetIndex) ++targetIndex;
  }
  SetIndex(targetIndex);
}

// ----- defaults and copies ----------------------------------------------------------------------

void TqlTreeListColumn::RestoreDefaults() {
  assigned_ = {};
  refreshFontFromControl();
  disableEditor_ = false;
  disableCaption_ = false;
  disableCustomizing_ = false;
  headerAlignment_ = taLeftJustify;
  minWidth_ = kDefaultMinWidth;
  sizing_ = true;
  sorted_ = csNone;
  tabStop_ = true;
  vertAlignment_ = tlTop;
  rederiveWidth();
  changed(true);
}

void TqlTreeListColumn::Assign(const TqlTreeListColumn& source) {
  if (&source == this) return;
  alignment_ = source.alignment_;
  caption_ = source.caption_;
  charCase_ = source.charCase_;
  color_ = source.color_;
  disableCaption_ = source.disableCaption_;
  disableCustomizing_ = source.disableCustomizing_;
  disableEditor_ = source.disableEditor_;
  disableDragging_ = source.disableDragging_;
  disableFilter_ = source.disableFilter_;
  headerAlignment_ = source.headerAlignment_;
  if (source.headerGlyph_)
    headerGlyph_ = std::make_unique<TBitmap>(*source.headerGlyph_);
  else
    headerGlyph_.reset();
  maxLength_ = source.maxLength_;
  minWidth_ = source.minWidth_;
  oemConvert_ = source.oemConvert_;
  passwordChar_ = source.passwordChar_;
  readOnly_ = source.readOnly_;
  sizing_ = source.sizing_;
  sorted_ = source.sorted_;
  tabStop_ = source.tabStop_;
  vertAlignment_ = source.vertAlignment_;
  visible_ = source.visible_;
  width_ = source.width_;
  bandIndex_ = source.bandIndex_;
  rowIndex_ = source.rowIndex_;
  storedRowIndex_ = source.storedRowIndex_;
  headerMaxLineCount_ = source.headerMaxLineCount_;
  assigned_ = source.assigned_;
  if (assigned_.contains(tcvFont)) {
    copyFontQuietly(source.font_);
  } else {
    refreshFontFromControl();
  }
  changed(true);
}

// ===== TqlTreeListMaskColumn ======================================================================

void TqlTreeListMaskColumn::SetEditMask(const std::string& value) {
  if (editMask_ == value) return;
  editMask_ = value;
  changed(true);
}

void TqlTreeListMaskColumn::SetIgnoreMaskBlank(bool value) {
  if (ignoreMaskBlank_ == value) return;
  ignoreMaskBlank_ = value;
  changed(true);
}

void TqlTreeListMaskColumn::RestoreDefaults() {
  editMask_.clear();
  TqlTreeListColumn::RestoreDefaults();
}

void TqlTreeListMaskColumn::Assign(const TqlTreeListColumn& source) {
  if (auto* mask = dynamic_cast<const TqlTreeListMaskColumn*>(&source)) {
    editMask_ = mask->editMask_;
    ignoreMaskBlank_ = mask->ignoreMaskBlank_;
  }
  TqlTreeListColumn::Assign(source);
}
