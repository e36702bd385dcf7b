#pragma once
// The arguments of the custom-draw chains. A chain runs the grid's handler and then the
// column's own (the data-aware grid puts its handlers in front); each handler runs only while
// Done is still false, and what one handler changes is what the next one receives.
#include <functional>
#include <string>

#include "platform/core/alignment.h"
#include "platform/core/types.h"
#include "platform/gfx/graphics.h"
#include "treelist/treelist_types.h"

class TCanvas;
class TqlTreeListNode;
class TqlTreeListBand;
class TqlTreeListColumn;

struct TqlCustomDrawBandArgs {
  TCanvas* Canvas = nullptr;
  int Band = -1;              // absolute band index
  TRect Rect;                 // the band cell's full rectangle
  std::string Text;
  TColor Color = clBtnFace;   // starts as BandColor
  TFont* Font = nullptr;      // the canvas font
  TAlignment Alignment = taLeftJustify;
  bool Done = false;
};

struct TqlCustomDrawHeaderArgs {
  TCanvas* Canvas = nullptr;
  int Column = -1;            // absolute column index
  TRect Rect;                 // full header cell rectangle (a first handler may change it)
  std::string Text;
  TColor Color = clBtnFace;   // starts as HeaderColor
  TFont* Font = nullptr;
  TAlignment Alignment = taLeftJustify;
  TqlTreeListColumnSort Sorted = csNone;
  bool Done = false;
};

struct TqlCustomDrawCellArgs {
  TCanvas* Canvas = nullptr;
  TRect Rect;
  TqlTreeListNode* Node = nullptr;
  int Column = -1;            // absolute column index
  bool Selected = false;
  bool Focused = false;
  bool NewItemRow = false;
  std::string Text;
  TColor Color = clWindow;    // starts as the cell's background colour
  TFont* Font = nullptr;
  TAlignment Alignment = taLeftJustify;
  bool Done = false;
};

struct TqlCustomDrawFooterArgs {
  TCanvas* Canvas = nullptr;
  TRect Rect;
  TqlTreeListNode* Node = nullptr;  // null for the footer panel
  int Column = -1;
  int FooterIndex = -1;       // -1 the footer panel, else the row footer's index
  std::string Text;
  TColor Color = clBtnFace;
  TFont* Font = nullptr;
  TAlignment Alignment = taLeftJustify;
  bool Done = false;
};

// Handler types (sender first; var parameters are references).
using TqlTLCustomDrawBand = std::function<void(
    TObject* Sender, TqlTreeListBand* ABand, TCanvas* ACanvas, TRect ARect, std::string& AText,
    TColor& AColor, TFont* AFont, TAlignment& AAlignment, bool& ADone)>;
using TqlTLCustomDrawHeader = std::function<void(
    TObject* Sender, TqlTreeListColumn* AColumn, TCanvas* ACanvas, TRect ARect,
    std::string& AText, TColor& AColor, TFont* AFont, TAlignment& AAlignment,
    TqlTreeListColumnSort& ASorted, bool& ADone)>;
using TqlTLCustomDrawCell = std::function<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TqlTreeListNode* ANode,
    TqlTreeListColumn* AColumn, bool ASelected, bool AFocused, bool ANewItemRow,
    std::string& AText, TColor& AColor, TFont* AFont, TAlignment& AAlignment, bool& ADone)>;
using TTLCustomDrawPreviewEvent = std::function<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TqlTreeListNode* ANode, bool ASelected,
    const std::string& AText, bool& ADone)>;
using TqlTLCustomDrawPreview = std::function<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TqlTreeListNode* ANode, bool ASelected,
    std::string& AText, TColor& AColor, TColor& ATextColor, TFont* AFont, bool& ADone)>;
using TqlTLCustomDrawFooter = std::function<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TqlTreeListNode* ANode,
    TqlTreeListColumn* AColumn, std::string& AText, TColor& AColor, TFont* AFont,
    TAlignment& AAlignment, bool& ADone)>;
using TqlTLCustomDrawFooterNode = std::function<void(
    TObject* Sender, TCanvas* ACanvas, TRect ARect, TqlTreeListNode* ANode,
    TqlTreeListColumn* AColumn, int AFooterIndex, std::string& AText, TColor& AColor,
    TFont* AFont, TAlignment& AAlignment, bool& ADone)>;
using TqlTLGetLevelColor =
    std::function<void(TObject* Sender, int ALevel, TColor& AColor)>;
using TqlTLIsExistFooterCell =
    std::function<void(TObject* Sender, TqlTreeListColumn* AColumn, bool& AExist)>;
