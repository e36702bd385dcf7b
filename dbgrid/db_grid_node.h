#pragma once
// The data-aware grid's nodes: a text node (one display string per column) that also carries
// its record's key value, preview text, typed values and place in load order.
//
//   TqlTreeListTextNode          texts per column (core)
//   TqlDBTreeListControlNode     + key value, preview text, per-column typed values
//   TqlDBGridNode                + group value, summaries, record index
#include <memory>
#include <string>
#include <vector>

#include "platform/core/variant.h"
#include "treelist/treelist_node.h"

// The typed value of one cell, kept beside its text where sorting or editing needs the value
// itself (numbers, dates, booleans; strings with a get-text handler or an edit mask).
struct TNodeVariantData {
  bool ValueAssigned = false;
  bool LookupValueAssigned = false;
  Variant Value;
  Variant LookupValue;  // the value of the lookup field's key field
};

class TqlDBTreeListControlNode : public TqlTreeListTextNode {
 public:
  using TqlTreeListTextNode::TqlTreeListTextNode;
  ~TqlDBTreeListControlNode() override;

  Variant KeyValue;         // the key field's value; null when the grid has no key field
  std::string PreviewText;  // shown under the row with the preview option

  // The typed value of a column (absolute index); null when none was stored.
  const TNodeVariantData* VariantData(int column) const;
  TNodeVariantData& SetVariantData(int column);  // creates the entry
  void ClearVariantData() { variantData_.clear(); }
  // Keeps the entries aligned when a column moves or leaves (as the texts are).
  void MoveVariantData(int fromColumn, int toColumn);
  void RemoveVariantData(int column);

 private:
  std::vector<std::unique_ptr<TNodeVariantData>> variantData_;  // by absolute column; null = none
};

class TqlDBGridNode : public TqlDBTreeListControlNode {
 public:
  using TqlDBTreeListControlNode::TqlDBTreeListControlNode;
  ~TqlDBGridNode() override;

  Variant GroupValue;                      // a group node's value of its group column
  long double SummaryValue = 0;            // a group node's summary of the group column
  int RecordIndex = -1;                    // 0-based place in load order (a group: its first record's)
  std::vector<long double> SummaryItems;   // per summary item, for group nodes
};
