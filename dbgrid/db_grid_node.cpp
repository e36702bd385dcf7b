#include "dbgrid/db_grid_node.h"

#include <algorithm>

// Both destructors run the node's whole destruction first, so OnDeletion and the grid's
// bookkeeping still see the key value and the record index.
TqlDBTreeListControlNode::~TqlDBTreeListControlNode() { DestroyNode(); }

TqlDBGridNode::~TqlDBGridNode() { DestroyNode(); }

const TNodeVariantData* TqlDBTreeListControlNode::VariantData(int column) const {
  if (column < 0 || column >= static_cast<int>(variantData_.size())) return nullptr;
  return variantData_[column].get();
}

TNodeVariantData& TqlDBTreeListControlNode::SetVariantData(int column) {
  if (column >= static_cast<int>(variantData_.size())) variantData_.resize(column + 1);
  auto& entry = variantData_[column];
  if (!entry) entry = std::make_unique<TNodeVariantData>();
  return *entry;
}

void TqlDBTreeListControlNode::MoveVariantData(int fromColumn, int toColumn) {
  const int count = static_cast<int>(variantData_.size());
  if (fromColumn == toColumn || fromColumn < 0 || toColumn < 0) return;
  if (fromColumn >= count && toColumn >= count) return;
  variantData_.resize(std::max({count, fromColumn + 1, toColumn + 1}));
  auto moving = std::move(variantData_[fromColumn]);
  variantData_.erase(variantData_.begin() + fromColumn);
  variantData_.insert(variantData_.begin() + toColumn, std::move(moving));
}

void TqlDBTreeListControlNode::RemoveVariantData(int column) {
  if (column < 0 || column >= static_cast<int>(variantData_.size())) return;
  variantData_.erase(variantData_.begin() + column);
}
