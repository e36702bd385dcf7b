#pragma once
// The colour set of the flat controls: one named slot per colour property and the
// "advanced" mode, in which Focused, Down and Border follow a base colour, shifted in
// lightness by their own amounts (ShiftLightness). Each control reads the slots it shows:
//
//   control            slots                              base of the advanced colours
//   flat button        Focused Down Border HighLight Shadow   Color
//   flat radio button  Focused Down Border Dot                Color
//   flat edit, memo    Focused Border Flat                    Flat
//
// A control starts from the defaults below and changes the ones it differs in.
#include "platform/core/types.h"

class TControl;

using TAdvColors = int;  // 0..100, lightness shift of an "advanced" colour

// Colours that recur in the set.
constexpr TColor FlatFaceColor = 0xE1EAEB;    // default face and flat colour
constexpr TColor FlatDownColor = 0xC5D6D9;    // default "down" colour
constexpr TColor FlatBorderColor = 0x8396A0;  // default border colour

struct FlatColors {
  TColor Focused = FlatFaceColor;  // face or frame while hot or focused
  TColor Down = FlatDownColor;     // face while pressed
  TColor Border = FlatBorderColor;
  TColor HighLight = clWhite;      // light side of a raised or sunken bevel
  TColor Shadow = clBlack;         // dark side of a raised or sunken bevel
  TColor Dot = clBlack;            // a checked radio button's dot
  TColor Flat = FlatFaceColor;     // an edit's background in its flat look

  TAdvColors AdvFocused = 10;  // 0..100; Focused is lighter than the base by this
  TAdvColors AdvDown = 10;     // 0..100; Down is darker
  TAdvColors AdvBorder = 50;   // 0..100; Border is darker
  bool UseAdv = false;         // the advanced mode is on

  // In the advanced mode: Focused, Down and Border from base by their shifts; otherwise
  // nothing changes.
  void Derive(TColor base);
  // Stores value, clamped to 0..100, in shift (one of the Adv fields) and derives the colours
  // from base again. Returns whether the shift changed.
  bool SetShift(TAdvColors& shift, TAdvColors value, TColor base);
  // After a parent-colour or system-colour change around control, whose Color is the base:
  // in the advanced mode the control takes its parent's colour again and the colours follow
  // it; the control repaints either way.
  void FollowColorChange(TControl& control);
};
