#pragma once
// The selected records of a multi-select data-aware grid.
//
// Kept by bookmark (edgoUseBookmarks or the buffered mode): entries are record bookmarks, each
// with its node, sorted by the data set's bookmark order; the last bookmark looked up and its
// position are cached (cleared on every change). Otherwise entries carry only their node,
// sorted by node identity.
//
// Across a reload: Save() remembers the selection (the bookmarks, or the nodes' key values,
// sorted with the null-first variant order), the nodes are rebuilt, and each loaded record
// whose bookmark or key value was remembered is selected again (WasSelected).
#include <string>
#include <vector>

#include "platform/core/variant.h"
#include "platform/db/db_types.h"

class TDataSet;
class TqlTreeListNode;

class TqlDBSelection {
 public:
  struct Entry {
    TBookmarkStr Bookmark;  // empty when kept by node
    TqlTreeListNode* Node;  // non-owning
  };

  // byBookmark: how entries are kept; dataSet compares bookmarks (may be null when by node).
  void Reset(bool byBookmark, const TDataSet* dataSet);
  bool ByBookmark() const { return byBookmark_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<Entry>& Entries() const { return entries_; }
  bool Contains(const TqlTreeListNode* node) const;
  int IndexOfBookmark(const TBookmarkStr& bookmark) const;  // -1 when absent
  void Add(const TBookmarkStr& bookmark, TqlTreeListNode* node);
  void Remove(const TqlTreeListNode* node);
  void RemoveAt(int index);
  void Clear();
  // A node going away leaves the list.
  void NodeDeleted(const TqlTreeListNode* node) { Remove(node); }

  // --- across a reload ---
  void Save(const std::vector<Variant>& keyValuesOfSelectedNodes);  // by key (or bookmarks)
  bool WasSelected(const TBookmarkStr& bookmark, const Variant& keyValue) const;
  void ForgetSaved();
  bool HasSaved() const { return !savedBookmarks_.empty() || !savedKeys_.empty(); }

 private:
  int lowerBound(const TBookmarkStr& bookmark) const;
  bool byBookmark_ = true;
  const TDataSet* dataSet_ = nullptr;  // non-owning
  std::vector<Entry> entries_;         // sorted (see the file header)
  mutable TBookmarkStr cachedBookmark_;
  mutable int cachedIndex_ = -1;
  std::vector<TBookmarkStr> savedBookmarks_;  // sorted by the data set's order
  std::vector<Variant> savedKeys_;            // sorted null first
};
