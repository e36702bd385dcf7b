// Rows of the tree-list core as text, and copying the selected rows to the clipboard.
//
// The text a list of lines makes (LinesToText): every line followed by CR LF. The caption
// line carries its own CR LF, so the text reads
//   caption<TAB>caption CR LF  CR LF  cell<TAB>cell CR LF  cell<TAB>cell CR LF ...
// Cells and captions follow the focus order of the visible columns.
#include <algorithm>

#include "platform/ui/services.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

namespace {

std::string captionLine(const TCustomqlTreeList& t, const std::vector<int>& columns) {
  std::string line;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) line += '\t';
    line += t.Model().GetColumnHeaderCaption(columns[i]);  // empty for DisableCaption
  }
  return line + "\r\n";
}

std::string rowLine(const TCustomqlTreeList& t, const TqlTreeListNode* node,
                    const std::vector<int>& columns) {
  if (t.IsGroupRow(node)) return t.GetGroupRowText(node);
  std::string line;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) line += '\t';
    line += t.GetCellText(node, columns[i]);
  }
  return line;
}

}  // namespace

void TCustomqlTreeList::GetAllRowsText(std::vector<std::string>& lines) const {
  const std::vector<int> columns = FocusOrderColumns();
  lines.push_back(captionLine(*this, columns));
  for (TqlTreeListNode* node = FirstShownNode(); node; node = node->GetNextVisible())
    lines.push_back(rowLine(*this, node, columns));
}

void TCustomqlTreeList::GetSelectedRowsText(std::vector<std::string>& lines) const {
  const std::vector<int> columns = FocusOrderColumns();
  lines.push_back(captionLine(*this, columns));
  std::vector<TqlTreeListNode*> nodes;
  if (IsOption(tloMultiSelect)) {
    nodes = GetSelectedNodes();
    std::sort(nodes.begin(), nodes.end(), [](const TqlTreeListNode* a, const TqlTreeListNode* b) {
      return CompareTreeOrder(a, b) < 0;
    });
  } else if (focusedNode_) {
    nodes.push_back(focusedNode_);
  }
  for (const TqlTreeListNode* node : nodes) lines.push_back(rowLine(*this, node, columns));
}

std::string TCustomqlTreeList::LinesToText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void TCustomqlTreeList::CopySelectedToClipboard() {
  std::vector<std::string> lines;
  GetSelectedRowsText(lines);
  ClipboardSetText(LinesToText(lines));
}
