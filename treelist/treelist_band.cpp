#include "treelist/treelist_band.h"

#include <algorithm>

#include "treelist/treelist_control.h"

// ===== TqlTreeListBand ========================================================================

TqlTreeListBand::TqlTreeListBand(TqlTreeListBands* collection) : collection_(collection) {
  collection_->items_.push_back(this);
  collection_->changed();
}

TqlTreeListBand::~TqlTreeListBand() {
  auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  if (it == items.end()) return;
  int absoluteIndex = static_cast<int>(it - items.begin());
  TCustomqlTreeListControl* owner = control();
  if (!owner->IsDestroying()) owner->bandDestroying(absoluteIndex);
  items.erase(it);
  if (!owner->IsDestroying()) collection_->changed();
}

TCustomqlTreeListControl* TqlTreeListBand::control() const { return collection_->owner_; }

void TqlTreeListBand::changed() { collection_->changed(); }

int TqlTreeListBand::Index() const { return collection_->IndexOf(this); }

void TqlTreeListBand::SetIndex(int absoluteIndex) {
  absoluteIndex = std::clamp(absoluteIndex, 0, collection_->Count() - 1);
  int current = Index();
  if (fixed_ != bfNone || current == absoluteIndex) return;
  collection_->moveBand(current, absoluteIndex);
  changed();
}

int TqlTreeListBand::VisibleIndex() const { return collection_->AbsoluteIndexToVisible(Index()); }

void TqlTreeListBand::SetAlignment(TAlignment value) { setField(alignment_, value); }

void TqlTreeListBand::SetCaption(const std::string& value) { setField(caption_, value); }

void TqlTreeListBand::SetDisableCustomizing(bool value) { setField(disableCustomizing_, value); }

void TqlTreeListBand::SetDisableDragging(bool value) { setField(disableDragging_, value); }

void TqlTreeListBand::SetFixed(TqlGridBandFixed value) {
  if (value == bfNone) {
    if (fixed_ == bfNone) return;
    fixed_ = bfNone;
    changed();
    return;
  }
  TqlTreeListBands::UpdateScope scope(*collection_);
  for (TqlTreeListBand* other : collection_->items_)
    if (other != this && other->fixed_ == value) other->fixed_ = bfNone;
  int target = value == bfLeft ? 0 : collection_->Count() - 1;
  if (Index() != target) collection_->moveBand(Index(), target);
  fixed_ = visible_ ? value : bfNone;
  changed();
}

void TqlTreeListBand::SetMinWidth(int value) {
  value = std::max(value, 0);
  if (minWidth_ == value) return;
  minWidth_ = value;
  width_ = std::max(width_, minWidth_);
  changed();
}

void TqlTreeListBand::SetOnlyOwnColumns(bool value) { setField(onlyOwnColumns_, value); }

void TqlTreeListBand::SetSizing(bool value) { setField(sizing_, value); }

void TqlTreeListBand::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  if (!visible_) fixed_ = bfNone;
  changed();
}

void TqlTreeListBand::SetWidth(int value) {
  value = std::max(value, minWidth_);
  TCustomqlTreeListControl* owner = control();
  bool followsHeaders = owner->IsOption(tloBandHeaderWidth) || owner->DefaultLayout();
  if (width_ == value && !followsHeaders) return;
  width_ = value;
  changed();
}

void TqlTreeListBand::RestoreDefaults() {
  TqlTreeListBands::UpdateScope scope(*collection_);
  SetAlignment(taCenter);
  SetFixed(bfNone);
  SetMinWidth(kDefaultMinWidth);
  SetOnlyOwnColumns(false);
  SetSizing(true);
  SetWidth(kDefaultWidth);
}

void TqlTreeListBand::Assign(const TqlTreeListBand& source) {
  if (&source == this) return;
  TqlTreeListBands::UpdateScope scope(*collection_);
  RestoreDefaults();
  SetAlignment(source.alignment_);
  SetCaption(source.caption_);
  SetDisableCustomizing(source.disableCustomizing_);
  SetDisableDragging(source.disableDragging_);
  SetMinWidth(source.minWidth_);
  SetOnlyOwnColumns(source.onlyOwnColumns_);
  SetSizing(source.sizing_);
  SetVisible(source.visible_);
  SetWidth(source.width_);
  SetFixed(source.fixed_);
}

// ===== TqlTreeListBands =======================================================================

TqlTreeListBands::TqlTreeListBands(TCustomqlTreeListControl* owner) : owner_(owner) {}

TqlTreeListBands::~TqlTreeListBands() {
  ++updateCount_;  // no update handler while the collection goes away
  while (!items_.empty()) delete items_.back();
}

TqlTreeListBand* TqlTreeListBands::Items(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= Count()) return nullptr;
  return items_[absoluteIndex];
}

TqlTreeListBand* TqlTreeListBands::Add() { return new TqlTreeListBand(this); }

void TqlTreeListBands::Delete(int absoluteIndex) { delete Items(absoluteIndex); }

void TqlTreeListBands::Clear() {
  UpdateScope scope(*this);
  while (!items_.empty()) delete items_.back();
}

int TqlTreeListBands::IndexOf(const TqlTreeListBand* band) const {
  auto it = std::find(items_.begin(), items_.end(), band);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TqlTreeListBands::VisibleCount() const {
  return static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](auto* b) { return b->Visible(); }));
}

TqlTreeListBand* TqlTreeListBands::VisibleItems(int visibleIndex) const {
  return Items(VisibleIndexToAbsolute(visibleIndex));
}

int TqlTreeListBands::VisibleIndexToAbsolute(int visibleIndex) const {
  if (visibleIndex < 0) return -1;
  for (int i = 0; i < Count(); ++i)
    if (items_[i]->Visible() && visibleIndex-- == 0) return i;
  return -1;
}

int TqlTreeListBands::AbsoluteIndexToVisible(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= Count() || !items_[absoluteIndex]->Visible())
    return -1;
  int visibleIndex = 0;
  for (int i = 0; i < absoluteIndex; ++i)
    if (items_[i]->Visible()) ++visibleIndex;
  return visibleIndex;
}

void TqlTreeListBands::BeginUpdate() { ++updateCount_; }

void TqlTreeListBands::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    changed();
  }
}

void TqlTreeListBands::moveBand(int fromIndex, int toIndex) {
  if (fromIndex == toIndex || fromIndex < 0 || fromIndex >= Count()) return;
  toIndex = std::clamp(toIndex, 0, Count() - 1);
  owner_->bandMoved(fromIndex, toIndex);
  TqlTreeListBand* band = items_[fromIndex];
  items_.erase(items_.begin() + fromIndex);
  items_.insert(items_.begin() + toIndex, band);
}

void TqlTreeListBands::changed() {
  owner_->invalidateHeaderCache();  // also inside a bracket: queries must not read stale lists
  if (updateCount_ > 0) {
    changedWhileUpdating_ = true;
    return;
  }
  owner_->BandsChanged();
}
