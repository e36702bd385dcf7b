#pragma once
// View records of the editor classes and the painting that works on them.
//
// A view record (TqlEditViewData and the records derived from it) describes one paint of an
// editor or of a grid cell: state, look, colours, font, bounds and value. A painter works
// only on records, never on an editor instance, so the same code paints a live editor and
// every cell of a column:
//   ComputeGeometry   record -> rectangles (content, border, shadow)
//   Draw              geometry, then DrawFrame, then DrawContent in the content rectangle
//   DrawFrame         border per TqlEditBorderStyle and the drop shadow
//   DrawContent       the base fills the content; the text painter draws the text
// Later editors (mask, drop-down) derive their record from TqlTextEditViewData and their
// painter from TqlTextEditPainter, overriding the steps they change.
//
// Text insets of a grid cell: the text starts 2 pixels right of the content's left and 1 below
// its top, and ends 1 pixel inside its right and bottom (2 inside the right when right-aligned).
#include <memory>
#include <string_view>

#include "platform/core/alignment.h"
#include "platform/core/types.h"
#include "platform/core/variant.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphics.h"
#include "platform/ui/control_types.h"
#include "treelist/cell_view_data.h"
#include "treelist/edit_style.h"

class TBitmap;

// Where a text sits vertically: one line at the top, centre or bottom, or word-wrapped.
enum TqlEditVertPlacement { evpTop, evpCenter, evpBottom, evpWordWrap };

struct TqlEditViewData {
  virtual ~TqlEditViewData() = default;

  bool Enabled = true;
  bool Focused = false;
  bool Hot = false;                            // selected or under the mouse / hot-tracked cell
  TColor BorderColor = clWindowFrame;          // single and thick borders
  TqlEditBorderStyle BorderStyle = xbsNone;
  TqlEditButtonViewStyle ButtonStyle = bts3D;  // resolved: never btsDefault
  bool ButtonTransparent = false;
  bool FocusRect = false;                      // dotted rectangle round the text when focused
  TqlEditEdges Edges = kAllEditEdges;          // sides that carry the border
  bool Shadow = false;
  bool OpaqueText = false;                     // keep the background mode while drawing text
  bool Transparent = false;                    // the background is not filled
  TRect TextInsets;                            // left, top, right, bottom distances of the text
  TRect Bounds;                                // outer rectangle, border and shadow included
  TAlignment Alignment = taLeftJustify;
  TqlEditVertPlacement VertPlacement = evpTop;
  const TBrush* Brush = nullptr;               // background; non-owning (null: a white brush)
  TColor BkColor = clWhite;                    // RGB
  const TFont* Font = nullptr;                 // non-owning (null: the canvas's font)
  TColor TextColor = clBlack;                  // RGB
  bool IsEditorWindow = false;                 // a live editor window draws its own text
  Variant Value;                               // a string for the text editors
  int CharCount = 0;                           // leading characters to draw; 0 = all
  TBitmap* ScratchBitmap = nullptr;            // optional off-screen bitmap; non-owning
  bool Measure = false;                        // measure instead of drawing
  int LineCount = 0;                           // measuring result: text lines
  int TextHeight = 0;                          // measuring result: pixels of the text block
  int LineHeight = 0;                          // measuring result: pixels of one line
  int Cursor = 0;                              // mouse cursor; 0 = the class default
};

struct TqlTextEditViewData : TqlEditViewData {
  TEditCharCase CharCase = ecNormal;
  bool EndEllipsis = false;
  char32_t PasswordChar = 0;  // 0 = none
  bool SelectionBar = false;  // an 8-pixel margin left of the text
};

// Rectangles of one paint (computed, not kept).
struct TqlEditViewGeometry {
  int BorderWidth = 0;  // 0, 1 or 2
  int ShadowSize = 0;   // 0 or 2
  TRect Bounds;
  TRect ContentRect;
  TqlEditEdges Edges;
  TRect BorderRect;     // content grown by the border width on the sides with an edge
  TRect ShadowRect;     // border rectangle moved by the shadow size; empty without shadow
};

class TqlEditPainter {
 public:
  virtual ~TqlEditPainter() = default;

  // A fresh record of the type this painter draws.
  virtual std::unique_ptr<TqlEditViewData> CreateViewData() const;
  // With autoSize the right and bottom edges follow the natural content size.
  virtual TqlEditViewGeometry ComputeGeometry(const TqlEditViewData& data, bool autoSize) const;
  // Geometry, frame, content. region (logical coordinates, may be null) loses the painted
  // area: the border rectangle and the shadow rectangle. Measuring draws no frame.
  void Draw(TCanvas& canvas, TRegion* region, TqlEditViewData& data) const;
  virtual void DrawFrame(TCanvas& canvas, const TqlEditViewGeometry& geometry,
                         const TqlEditViewData& data) const;
  // ownWindowPaint: the call is a live editor window's own paint. Returns whether it drew.
  virtual bool DrawContent(TCanvas& canvas, const TRect& content, bool ownWindowPaint,
                           TqlEditViewData& data) const;
  // The record's cursor, else 0 for an editor window and -2 (the arrow) otherwise.
  virtual int Cursor(const TqlEditViewData& data) const;
  // The font's text-metric height + 3.
  virtual int NaturalContentHeight(const TqlEditViewData& data) const;
  virtual TRect NaturalContentExtent(const TqlEditViewData& data) const { return TRect{}; }
};

class TqlTextEditPainter : public TqlEditPainter {
 public:
  std::unique_ptr<TqlEditViewData> CreateViewData() const override;
  bool DrawContent(TCanvas& canvas, const TRect& content, bool ownWindowPaint,
                   TqlEditViewData& data) const override;
};

// Flags of DrawEditText.
enum : unsigned {
  etfCenter = 1,
  etfRight = 2,
  etfVCenter = 4,
  etfBottom = 8,
  etfWordWrap = 16,
  etfEndEllipsis = 256,
  etfPathEllipsis = 512,
  etfFocusRect = 1024,
  etfFocusRectOnText = 2048,  // the focus rectangle round the measured text only
  etfTransparent = 4096,      // the background is not filled
  etfPrefix = 8192,           // '&' marks a prefix
  etfMeasure = 16384,
  etfOpaqueText = 32768,      // the background mode stays as it is
};

// Draws (or measures) the first charCount characters of text (0 = all) in textRect, with
// outerRect as the rectangle the background covers. Word wrap, prefixes and ellipses go
// through DrawText; plain lines through one clipped ExtTextOut. When measuring returns the
// height needed (the text height plus what outerRect adds round textRect) and sets
// lineHeight to one line's height; otherwise returns 0. Colours, font and background mode
// are restored afterwards.
int DrawEditText(TCanvas& canvas, std::string_view text, int charCount, int& lineHeight,
                 TColor textColor, TColor bkColor, const TFont* font, const TBrush* brush,
                 unsigned flags, TRect textRect, const TRect& outerRect);

// Copies a resolved look (edit_style.h) into the record.
void ApplyEditLook(TqlEditViewData& data, const TqlEditLook& look);

// What the column and the grid answer for a cell's record.
struct TqlCellEditorSettings {
  TTextLayout VertAlignment = tlTop;           // the column's
  TEditCharCase CharCase = ecNormal;           // the column's
  char32_t PasswordChar = 0;                   // the column's
  TqlEditButtonViewStyle ButtonStyle = bts3D;  // the grid's, for its LookAndFeel
  TqlEditEdges Edges = kAllEditEdges;          // the grid's
  bool Shadow = false;                         // the grid's
};

// Fills a record from a grid cell's description; text records (and records derived from
// them) also take the letter case, end ellipsis and password character.
void FillEditViewDataFromCell(TqlEditViewData& data, const TqlTreeListCellViewData& cell,
                              const TqlCellEditorSettings& settings);
