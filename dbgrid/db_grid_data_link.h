#pragma once
// The grid's data link: what the record-set layer tells the grid, and the field map (which
// data-set field each column shows).
//
//   TDataLink (record-set layer)
//     TqlDBTreeListControlDataLink   field map, modified flag, forwards every notification
//       TqlGridDataLink              the data-aware grid's link
//
// Field map: one 32-bit field position per column (or per visible field when DefaultFields is
// on); -1 for a column whose field is missing. Grows by doubling from 8 entries, never past
// kMaxFieldMapEntries.
#include <cstdint>
#include <vector>

#include "platform/db/data_link.h"

class TCustomqlDBTreeListControl;
class TField;

class TqlDBTreeListControlDataLink : public TDataLink {
 public:
  static constexpr int kMaxFieldMapEntries = 0x0FFFFFFF;

  explicit TqlDBTreeListControlDataLink(TCustomqlDBTreeListControl* AGrid);
  ~TqlDBTreeListControlDataLink() override;

  TCustomqlDBTreeListControl* Grid() const { return grid_; }

  // --- the field map ---
  int FieldMapCount() const { return static_cast<int>(fieldMap_.size()); }
  int32_t FieldPosition(int entry) const { return fieldMap_[entry]; }  // -1 = missing
  // The mapped field of an entry; null when missing or the link is inactive.
  TField* MappedField(int entry) const;
  void ClearFieldMap();
  // Appends a field's position (-1 for none); raises EInvalidqlTreeListOperation past the cap.
  void AddFieldPosition(int32_t position);

  // Set when the grid put the current record into edit state through the link; cleared by
  // data-set-changed, record-changed and update-data.
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  // The link belongs to a visual control (the record-set layer asks).
  bool IsVisualControl() const { return true; }

 protected:
  // Each notification goes to the grid (see TCustomqlDBTreeListControl's data-link section).
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(int Distance) override;
  void RecordChanged(TField* Field) override;
  void LayoutChanged() override;
  void FocusControl(TField** Field) override;
  void UpdateData() override;
  void EditingChanged() override;

 private:
  TCustomqlDBTreeListControl* grid_;  // non-owning; owns this link
  std::vector<int32_t> fieldMap_;     // capacity from 8, doubling; size <= kMaxFieldMapEntries
  bool modified_ = false;
};

class TqlGridDataLink : public TqlDBTreeListControlDataLink {
 public:
  using TqlDBTreeListControlDataLink::TqlDBTreeListControlDataLink;
};
