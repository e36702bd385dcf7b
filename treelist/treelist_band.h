#pragma once
// TqlTreeListBand / TqlTreeListBands: the horizontal groups of header columns.
//
// A band has an absolute index (its position in the collection) and, while visible, a visible
// index (its position among the visible bands). Columns refer to their band by absolute index
// (TqlTreeListColumn::BandIndex), so every reordering or deletion of bands renumbers them.
// Every setter reports to the collection, whose update handler (on the control) normalises the
// fixing and relayouts; inside BeginUpdate/EndUpdate the handler runs once at the end.
#include <string>
#include <vector>

#include "platform/core/alignment.h"
#include "treelist/treelist_types.h"

class TCustomqlTreeListControl;
class TqlTreeListBands;

class TqlTreeListBand {
 public:
  static constexpr int kDefaultMinWidth = 30;
  static constexpr int kDefaultWidth = 250;

  // Appended to the collection (which owns it). Destroying a band removes it from the
  // collection and renumbers the columns' BandIndex.
  explicit TqlTreeListBand(TqlTreeListBands* collection);
  virtual ~TqlTreeListBand();
  TqlTreeListBand(const TqlTreeListBand&) = delete;
  TqlTreeListBand& operator=(const TqlTreeListBand&) = delete;

  TqlTreeListBands* Collection() const { return collection_; }
  int Index() const;         // absolute index
  // Clamped to 0..count-1; nothing for a fixed band or an unchanged index.
  void SetIndex(int absoluteIndex);
  int VisibleIndex() const;  // -1 while hidden

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool DisableCustomizing() const { return disableCustomizing_; }
  void SetDisableCustomizing(bool value);
  bool DisableDragging() const { return disableDragging_; }
  void SetDisableDragging(bool value);
  TqlGridBandFixed Fixed() const { return fixed_; }
  // bfLeft / bfRight first clear the same value from every other band and move this band to
  // the first / last position; the value itself is kept only while the band is visible.
  void SetFixed(TqlGridBandFixed value);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int value);  // negative becomes 0; Width is raised to it
  bool OnlyOwnColumns() const { return onlyOwnColumns_; }
  void SetOnlyOwnColumns(bool value);
  bool Sizing() const { return sizing_; }
  void SetSizing(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);  // hiding also sets Fixed to bfNone
  int Width() const { return width_; }
  // Never below MinWidth. While band widths follow their headers even an unchanged value
  // notifies, so that the layout recomputes the width from the headers.
  void SetWidth(int value);

  // Defaults before a copy: everything but Caption and Visible.
  void RestoreDefaults();
  void Assign(const TqlTreeListBand& source);

 private:
  friend class TqlTreeListBands;
  friend class TCustomqlTreeListControl;  // clears fixing while normalising it
  TCustomqlTreeListControl* control() const;
  // Runs the collection's update handler, which relayouts every band.
  void changed();
  // Stores a value that concerns this band only and notifies when it changed.
  template <typename T>
  void setField(T& field, const T& value) {
    if (field == value) return;
    field = value;
    changed();
  }

  TqlTreeListBands* collection_;  // never null; owns this band
  TAlignment alignment_ = taCenter;
  std::string caption_;
  bool disableCustomizing_ = false;
  bool disableDragging_ = false;
  TqlGridBandFixed fixed_ = bfNone;  // bfNone while hidden; at most one band per side
  int minWidth_ = kDefaultMinWidth;  // >= 0
  bool onlyOwnColumns_ = false;
  bool sizing_ = true;
  bool visible_ = true;
  int width_ = kDefaultWidth;        // >= minWidth_
};

class TqlTreeListBands {
 public:
  explicit TqlTreeListBands(TCustomqlTreeListControl* owner);
  ~TqlTreeListBands();  // frees the bands, last first
  TqlTreeListBands(const TqlTreeListBands&) = delete;
  TqlTreeListBands& operator=(const TqlTreeListBands&) = delete;

  TCustomqlTreeListControl* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TqlTreeListBand* Items(int absoluteIndex) const;  // null when out of range
  TqlTreeListBand* Add();
  void Delete(int absoluteIndex);  // ignored when out of range
  void Clear();
  int IndexOf(const TqlTreeListBand* band) const;  // -1 when not here

  int VisibleCount() const;
  TqlTreeListBand* VisibleItems(int visibleIndex) const;  // null when out of range
  int VisibleIndexToAbsolute(int visibleIndex) const;     // -1 when out of range
  int AbsoluteIndexToVisible(int absoluteIndex) const;    // -1 for hidden or out of range

  // Change notifications inside the bracket are collected and reported once at the end.
  void BeginUpdate();
  void EndUpdate();
  // Holds the update bracket for a scope (also when an exception leaves it).
  class UpdateScope {
   public:
    explicit UpdateScope(TqlTreeListBands& bands) : bands_(bands) { bands_.BeginUpdate(); }
    ~UpdateScope() { bands_.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

   private:
    TqlTreeListBands& bands_;
  };

 private:
  friend class TqlTreeListBand;
  // Moves a band without the fixed-band and same-index checks; renumbers columns.
  void moveBand(int fromIndex, int toIndex);
  void changed();

  TCustomqlTreeListControl* owner_;        // never null
  std::vector<TqlTreeListBand*> items_;    // owning; absolute order
  int updateCount_ = 0;                    // >= 0
  bool changedWhileUpdating_ = false;
};
