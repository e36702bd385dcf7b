#include "treelist/popup_placement.h"

#include <algorithm>

TRect PopupAnchorRect(const TqlPopupPlacement& p) {
  TRect anchor = p.EditorWindow;
  const int innerLeft = p.EditorWindow.Left + p.InnerRect.Left;
  const int innerWidth = p.InnerRect.Width() + (p.BorderStyle != xbsNone ? 2 : 0);
  anchor.Left = innerLeft;
  anchor.Right = innerLeft + innerWidth;
  if (p.BorderStyle == xbsNone || p.BorderStyle == xbsSingle) {
    int inset = (!p.InPlace && p.BorderStyle == xbsNone) ? 2 : 1;
    anchor.Top += inset;
    anchor.Bottom -= inset;
  }
  return anchor;
}

TRect PlacePopup(const TqlPopupPlacement& p) {
  const TRect anchor = PopupAnchorRect(p);
  int width = p.PopupSize.cx;
  const int height = p.PopupSize.cy;
  if (p.AdjustWidth && width < anchor.Width()) width = anchor.Width();

  int left = anchor.Left;
  if (p.Alignment == taRightJustify) left = anchor.Right - width;
  else if (p.Alignment == taCenter) left = anchor.Left + (anchor.Width() - width) / 2;
  int top = anchor.Bottom;

  left = std::max(p.WorkArea.Left, std::min(left, p.WorkArea.Right - width));
  const int editorHeight = anchor.Height();
  if (top + height > p.WorkArea.Bottom &&
      p.WorkArea.Bottom - top - editorHeight < top - p.WorkArea.Top)
    top = top - editorHeight - height;
  return Bounds(left, top, width, height);
}

int PopupListClientWidth(int dropDownWidth, int widestItemText, int imageWidth) {
  if (dropDownWidth > 0) return dropDownWidth;
  return std::max(10, widestItemText + 2) + imageWidth + 4;
}

int PopupListRows(int itemCount, int dropDownRows) {
  return std::max(0, std::min(itemCount, dropDownRows));
}

int ResolvePopupFrameKind(int popupFrame, int containerFrameKind, TqlEditBorderStyle border) {
  if (popupFrame != 0) return popupFrame;
  if (containerFrameKind > 0) return containerFrameKind;
  switch (border) {
    case xbsSingle:
    case xbs3D: return 1;
    case xbsFlat: return 3;
    default: return 2;
  }
}
