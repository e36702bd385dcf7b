#pragma once
// The rows on display, kept in three lists that change together:
//   VisibleRows         every node whose ancestors are all expanded, in display order
//   RowLookupNodes      the same nodes sorted by address
//   RowLookupPositions  for each entry of RowLookupNodes, its position in VisibleRows
// A row index is then one binary search over addresses plus one list access, and inserting
// or removing a run of rows is one pass over the stored positions instead of a rebuild.
//
// The cache knows nothing of focus, locks or layout: the control decides when it is kept up
// to date and when it is dropped (treelist_nodes.cpp). While it is valid it always equals a
// fresh walk of the tree; a change the control does not apply in place drops it.
#include <vector>

class TqlTreeListNode;

class TqlVisibleRowCache {
 public:
  // Valid while RowLookupNodes is non-empty; callers fall back to walking the tree otherwise.
  bool IsValid() const { return !RowLookupNodes.empty(); }
  void Clear();
  // Walks roots in order, descending into expanded nodes only.
  void Rebuild(const std::vector<TqlTreeListNode*>& roots);
  int RowIndexOf(const TqlTreeListNode* node) const;  // -1 when not in the cache
  TqlTreeListNode* NodeAt(int rowIndex) const;         // null when out of range
  int Count() const { return static_cast<int>(VisibleRows.size()); }
  // Inserts rows (in display order, none of them cached yet) so that the first lands at
  // rowIndex (0..Count()).
  void InsertRows(int rowIndex, const std::vector<TqlTreeListNode*>& rows);
  // Removes the rows rowIndex .. rowIndex + count - 1.
  void RemoveRows(int rowIndex, int count);
  // Reorders the rows without a rebuild: row r moves to newRowOfRow[r], a permutation of
  // 0..Count()-1 (a sorted list of rows). The address order stays; only positions change.
  void PermuteRows(const std::vector<int>& newRowOfRow);
  // Throws EInvalidqlTreeListOperation when the lists disagree with each other or with a
  // fresh walk of the roots.
  void CheckInvariants(const std::vector<TqlTreeListNode*>& roots) const;

  // Appends node and, below each expanded node, its children (depth first) to rows.
  static void AppendShownSubtree(TqlTreeListNode* node, std::vector<TqlTreeListNode*>& rows);

  std::vector<TqlTreeListNode*> VisibleRows;
  std::vector<TqlTreeListNode*> RowLookupNodes;  // sorted by address, no repeats
  std::vector<int> RowLookupPositions;           // RowLookupPositions[i] = position of RowLookupNodes[i]
};
