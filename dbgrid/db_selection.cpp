#include "dbgrid/db_selection.h"

#include <algorithm>
#include <functional>

#include "platform/db/dataset.h"

void TqlDBSelection::Reset(bool byBookmark, const TDataSet* dataSet) {
  Clear();
  byBookmark_ = byBookmark;
  dataSet_ = dataSet;
}

int TqlDBSelection::lowerBound(const TBookmarkStr& bookmark) const {
  auto less = [this](const Entry& e, const TBookmarkStr& b) {
    return dataSet_ ? dataSet_->CompareBookmarks(e.Bookmark, b) < 0 : e.Bookmark < b;
  };
  return int(std::lower_bound(entries_.begin(), entries_.end(), bookmark, less) - entries_.begin());
}

int TqlDBSelection::IndexOfBookmark(const TBookmarkStr& bookmark) const {
  if (!byBookmark_) return -1;
  // Selecting runs of rows asks for the same bookmark again and again.
  if (cachedIndex_ >= 0 && bookmark == cachedBookmark_) return cachedIndex_;
  const int index = lowerBound(bookmark);
  if (index >= Count() || entries_[index].Bookmark != bookmark) return -1;
  cachedBookmark_ = bookmark;
  cachedIndex_ = index;
  return index;
}

bool TqlDBSelection::Contains(const TqlTreeListNode* node) const {
  if (!node) return false;
  if (byBookmark_)
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.Node == node; });
  auto it = std::lower_bound(entries_.begin(), entries_.end(), node,
                             [](const Entry& e, const TqlTreeListNode* n) {
                               return std::less<const TqlTreeListNode*>()(e.Node, n);
                             });
  return it != entries_.end() && it->Node == node;
}

void TqlDBSelection::Add(const TBookmarkStr& bookmark, TqlTreeListNode* node) {
  cachedIndex_ = -1;
  if (byBookmark_) {
    const int index = lowerBound(bookmark);
    if (index < Count() && entries_[index].Bookmark == bookmark) {
      entries_[index].Node = node;
      return;
    }
    entries_.insert(entries_.begin() + index, Entry{bookmark, node});
    return;
  }
  auto it = std::lower_bound(entries_.begin(), entries_.end(), node,
                             [](const Entry& e, const TqlTreeListNode* n) {
                               return std::less<const TqlTreeListNode*>()(e.Node, n);
                             });
  if (it != entries_.end() && it->Node == node) return;
  entries_.insert(it, Entry{{}, node});
}

void TqlDBSelection::Remove(const TqlTreeListNode* node) {
  cachedIndex_ = -1;
  std::erase_if(entries_, [&](const Entry& e) { return e.Node == node; });
}

void TqlDBSelection::RemoveAt(int index) {
  if (index < 0 || index >= Count()) return;
  cachedIndex_ = -1;
  entries_.erase(entries_.begin() + index);
}

void TqlDBSelection::Clear() {
  cachedIndex_ = -1;
  entries_.clear();
}

void TqlDBSelection::Save(const std::vector<Variant>& keyValuesOfSelectedNodes) {
  savedBookmarks_.clear();
  savedKeys_.clear();
  if (byBookmark_) {
    for (const Entry& e : entries_) savedBookmarks_.push_back(e.Bookmark);  // already sorted
    return;
  }
  savedKeys_ = keyValuesOfSelectedNodes;
  std::sort(savedKeys_.begin(), savedKeys_.end(),
            [](const Variant& a, const Variant& b) { return VarCompareOrLess(a, b) < 0; });
}

// The saved list decides how to look, not the current mode: the first record selected again
// may switch the mode (Reset) while the rest of the reload still asks.
bool TqlDBSelection::WasSelected(const TBookmarkStr& bookmark, const Variant& keyValue) const {
  if (!savedBookmarks_.empty()) {
    auto less = [this](const TBookmarkStr& a, const TBookmarkStr& b) {
      return dataSet_ ? dataSet_->CompareBookmarks(a, b) < 0 : a < b;
    };
    return std::binary_search(savedBookmarks_.begin(), savedBookmarks_.end(), bookmark, less);
  }
  return std::binary_search(savedKeys_.begin(), savedKeys_.end(), keyValue,
                            [](const Variant& a, const Variant& b) { return VarCompareOrLess(a, b) < 0; });
}

void TqlDBSelection::ForgetSaved() {
  savedBookmarks_.clear();
  savedKeys_.clear();
}
