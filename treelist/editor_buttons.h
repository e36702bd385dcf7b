#pragma once
// The buttons of a drop-down editor: which buttons it has, where they lie, how one is drawn,
// and which one the mouse is over.
//
//   ComputeEditButtons   view record -> its button list (none, a glyph button or a down arrow)
//   EditButtonWidth      a button's width for a resolved button style
//   LayoutEditButtons    inner rectangle -> one rectangle per button and the text area left
//   DrawEditButton       one button in a rectangle (frame by style, pressed offset, symbol)
//   DrawEditButtons      every button of a record, last to first, cut from the inner rectangle
//   HitTestEditButtons   the hot button under a point, given the pressed one and the capture
//
// Layout: buttons are cut from the inner rectangle (the editor's content rectangle) walking
// the list from the last button to the first; a left-side button takes its width from the
// left of what is left, any other from the right. The last right-side button is therefore
// the outermost one at the right edge.
//
// Button faces by resolved style (R = the button's rectangle; "face" = button face, or the
// editor's background for a transparent button):
//   bts3D       up: raised two-pixel edge; pressed: one pixel of button shadow all round
//               (raised-inner edge right and bottom, sunken-outer edge left and top)
//   btsFlat     a one-pixel button-face column at the left (not when transparent), then a
//               raised-inner edge (up) or sunken-outer edge (pressed)
//   btsSimple   a one-pixel frame and left column in the editor's background (when
//               transparent: R only shrinks by one); hot or pressed it is drawn as btsFlat
//   btsHotFlat  a one-pixel button-shadow frame; the fill shows the state (below)
// The middle is then filled with the face, except for glyph and transparent buttons.
#include <vector>

#include "platform/core/types.h"
#include "platform/gfx/graphics.h"
#include "treelist/edit_style.h"
#include "treelist/edit_view_data.h"

class TBitmap;
class TCanvas;

enum TqlEditButtonKind { ebkEllipsis = 0, ebkDown = 1, ebkGlyph = 2 };

struct TqlEditButton {
  const TBitmap* Glyph = nullptr;    // non-owning; drawn for ebkGlyph
  TqlEditButtonKind Kind = ebkDown;
  bool LeftSide = false;             // cut from the left of the inner rectangle
  int Width = 0;                     // pixels, >= 0
};

// The view record of the drop-down editors: the text record plus the buttons.
struct TqlDropDownEditViewData : TqlTextEditViewData {
  const TBitmap* ButtonGlyph = nullptr;  // non-owning; null or empty: no glyph
  bool HideButtons = false;
  int HotButton = -1;                    // index into Buttons, -1 none
  int PressedButton = -1;                // index into Buttons, -1 none
  std::vector<TqlEditButton> Buttons;
};

// Buttons are hidden while the editor is not selected (focused or hot) and its style says
// ebtHideInactive.
bool EditButtonsHidden(TqlEditButtonTransparence transparence, bool selected);

// A glyph button: glyph width + 2, and 1 more for btsFlat and btsSimple, 2 more for bts3D.
// Any other: the system's vertical scroll bar width, 1 less for btsFlat and btsSimple.
int EditButtonWidth(TqlEditButtonViewStyle style, const TqlEditButton& button);

// Fills data.Buttons: none with HideButtons; otherwise one button, a glyph button when
// ButtonGlyph is set and not empty, else a down arrow, with EditButtonWidth for the record's
// ButtonStyle.
void ComputeEditButtons(TqlDropDownEditViewData& data);

struct TqlEditButtonLayout {
  std::vector<TRect> Buttons;  // one per button, same order as the list
  TRect TextArea;              // what the buttons leave of the inner rectangle
};
// A button wider than what is left gets what is left (never a negative width).
TqlEditButtonLayout LayoutEditButtons(const std::vector<TqlEditButton>& buttons,
                                      const TRect& inner);

// How one button is drawn.
struct TqlEditButtonPaint {
  TqlEditButtonKind Kind = ebkDown;
  const TBitmap* Glyph = nullptr;              // for ebkGlyph; drawn with its transparent colour
  TqlEditButtonViewStyle Style = bts3D;        // resolved (btsDefault draws as bts3D)
  bool Hot = false;
  bool Pressed = false;                        // drawn pressed (the caller's hot-and-pressed)
  bool Transparent = false;                    // on the editor's background
  bool Enabled = true;                         // disabled: embossed ellipsis and arrow
  TColor Background = clWindow;                // the editor's background
};
void DrawEditButton(TCanvas& canvas, const TRect& rect, const TqlEditButtonPaint& paint);

// The state each button is drawn in: hot when it is the hot button, pressed when it is both
// the hot and the pressed one.
struct TqlEditButtonState {
  bool Hot = false;
  bool Pressed = false;
};
TqlEditButtonState EditButtonDrawState(int index, int hotButton, int pressedButton);

// Draws every button of the record (none when there are none), last to first, each cut from
// inner, which ends as the text area. Colours come from the record: Background = BkColor,
// Transparent = ButtonTransparent, Style = ButtonStyle, Enabled.
void DrawEditButtons(TCanvas& canvas, TRect& inner, const TqlDropDownEditViewData& data);

// Where the mouse is over the buttons.
struct TqlEditButtonHit {
  int HotButton = -1;    // the button made hot, -1 none
  bool OnFrame = false;  // the point belongs to the editor's frame (a button), not its text
};
// A point inside a button (unless designing, or the mouse is captured with no button
// pressed) is on the frame; that button becomes hot when no button is pressed or it is the
// pressed one, else none is hot. Any other point: no button is hot.
TqlEditButtonHit HitTestEditButtons(const std::vector<TRect>& buttonRects, TPoint point,
                                    int pressedButton, bool mouseCaptured,
                                    bool designing = false);
