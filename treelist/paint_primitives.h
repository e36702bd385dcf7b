#pragma once
// Drawing primitives of the tree-list grid, shared by the panels, the rows and the data-aware
// grid: edges, cell frames per look, header cell content (with filter button, sort mark and
// glyph), corner buttons, indicator cells, footer frames, focus frames, cell text output,
// expand buttons, tree lines, and the process-wide bitmaps they use.
//
// Every function draws with the canvas it is given and leaves the canvas's tools as it found
// them (brush, pen, font, colours, background mode), unless its comment says otherwise.
// Rectangles are half-open. Colours may be system colours; they resolve when drawn.
#include <string_view>

#include "platform/core/alignment.h"
#include "platform/core/types.h"
#include "platform/gfx/graphics.h"
#include "treelist/treelist_types.h"

class TCanvas;
class TBitmap;
class TImageList;

// --- edges ---------------------------------------------------------------------------------
// One-pixel edge styles: raised-outer (cl3DLight left/top, cl3DDkShadow right/bottom),
// raised-inner (clBtnHighlight / clBtnShadow), sunken-outer (clBtnShadow / clBtnHighlight),
// and the flat form of an outer edge (clBtnShadow on every side drawn).
enum TqlEdgeStyle { esRaisedOuter, esRaisedInner, esSunkenOuter, esFlatOuter };
enum : unsigned { sideLeft = 1, sideTop = 2, sideRight = 4, sideBottom = 8, sidesAll = 15 };
// Draws the requested sides of rect in the style; with adjust each side drawn moves inwards
// by one pixel.
void DrawEdgeSides(TCanvas& canvas, TRect& rect, TqlEdgeStyle style, unsigned sides,
                   bool adjust);

// --- header cells --------------------------------------------------------------------------
// Position of a header cell in its header row, which decides how its frame joins its
// neighbours. Bands, corner buttons and the indicator are always Alone.
enum class TqlCellFrameKind { Alone = 0, Last = 1, First = 2, Between = 3 };
TqlCellFrameKind HeaderCellKind(bool firstInRow, bool lastInRow);

// Frame and background of a header-like cell; rect ends as the content area.
void DrawCellFrame(TCanvas& canvas, TRect& rect, const TBrush& brush, TqlLookAndFeel look,
                   TqlCellFrameKind kind, bool pressed);

// Bits of a header cell's filter-button state.
enum : int { fbsShown = 1, fbsHot = 2, fbsPressed = 4, fbsFiltered = 8 };

struct TqlHeaderContent {
  const TBrush* Brush = nullptr;        // cell background; never null when drawn
  int FilterButtonState = 0;            // fbs* bits; 0 = no button
  TqlLookAndFeel Look = lfStandard;
  TqlCellFrameKind Kind = TqlCellFrameKind::Alone;
  const TBitmap* Glyph = nullptr;       // null or empty: none
  TqlTreeListColumnSort Sorted = csNone;
  TAlignment Alignment = taLeftJustify;
  bool MultiLine = false;
  bool Pressed = false;
  std::string_view Text;
};

// Frame, filter button, sort mark, glyph and caption of a header cell, drawn in rect with the
// canvas's current font and text colour.
void DrawHeaderCellContent(TCanvas& canvas, TRect rect, const TqlHeaderContent& content);
// The same drawn whole into scratch (grown, never shrunk) at its origin, inverted when pressed
// in a flat look, and the part under visibleRect copied to canvas: a partly scrolled cell
// keeps the layout of its full width.
void DrawHeaderCellOffscreen(TCanvas& canvas, const TRect& fullRect, const TRect& visibleRect,
                             const TqlHeaderContent& content, TBitmap& scratch);

// The band and header corner buttons.
void DrawCornerButton(TCanvas& canvas, TRect rect, const TBrush& brush, TqlLookAndFeel look,
                      bool pushed);

// One indicator cell (drawn through scratch, visible part copied); every glyph kind but None
// shows image (kind - 1) of IndicatorImages().
void DrawIndicatorCell(TCanvas& canvas, const TRect& rect, const TRect& visibleRect,
                       TqlLookAndFeel look, TqlIndicatorKind glyphKind, const TBrush& headerBrush,
                       TBitmap& scratch);

// lfUltraFlat: a one-pixel clBtnShadow frame; other looks: a sunken-outer edge all round.
void DrawFooterCellFrame(TCanvas& canvas, const TRect& rect, TqlLookAndFeel look);

// --- focus frames ---------------------------------------------------------------------------
// Exclusive-or dotted frame (black background, white text colour): a second call removes it.
void DrawDottedFocusFrame(TCanvas& canvas, const TRect& rect);
// Inverts the four one-pixel edges of rect, each pixel once.
void DrawInvertedFrame(TCanvas& canvas, const TRect& rect);

// --- cell text -----------------------------------------------------------------------------
struct TqlTextOutput {
  const TBrush* Brush = nullptr;  // fills the margins (quick path) or the rectangle
  TColor BackColor = clWindow;    // the cell's background colour
  std::string_view Text;
  int Length = -1;                // leading characters to draw; -1 = all
  TAlignment Alignment = taLeftJustify;
  bool MultiLine = false;
  bool EndEllipsis = false;
  bool ThroughBitmap = false;     // draw into the scratch bitmap and copy
  int TopInset = 1;               // 1 or 2
  bool NoBackground = false;      // only the character cells get the background colour
};
// A cell's text with the canvas's current font, text colour and background colour: the
// direct character output for single plain lines, DrawText for multi-line text and ellipses.
void DrawCellText(TCanvas& canvas, const TRect& rect, const TqlTextOutput& text,
                  TBitmap* scratch);

// --- status panel --------------------------------------------------------------------------
// The 12 x 11 close button with its top-left corner at topLeft.
void DrawStatusCloseButton(TCanvas& canvas, TPoint topLeft, bool hot, bool pressed);

// --- tree area -----------------------------------------------------------------------------
// Tree style: a 9 x 9 box at ((cell left + cell right - 9) / 2, cy - 4).
void DrawTreeExpandButton(TCanvas& canvas, const TRect& cell, int cy, bool expanded);
// Grid style: lfUltraFlat an 11 x 11 box with a flat shadow, other looks the 12 x 12 bitmap,
// centred in cell.
void DrawGridExpandButton(TCanvas& canvas, const TRect& cell, bool expanded,
                          TqlLookAndFeel look);
// One-pixel tree line fill: pixel (x, y) of rect gets lineColor when
// x + y + phase.X + phase.Y is odd, else bkColor (dotted); solid fills lineColor.
void FillTreeLine(TCanvas& canvas, const TRect& rect, TColor lineColor, TColor bkColor,
                  TPoint phase, bool dotted);

// --- process-wide bitmaps --------------------------------------------------------------------
// The five indicator glyphs (arrow, edit, insert, multidot, multiarrow), 5 x 9, white
// transparent.
const TImageList& IndicatorImages();
// The 12 x 12 expand-button bitmaps in the current system colours (redrawn when those change).
const TBitmap& ExpandButtonBitmap(bool expanded);
// The 8 x 8 one-bit pattern whose pixel (x, y) is set when x and y have the same parity.
const TBitmap& DottedLineBitmap();
