#pragma once
// Where a button's glyph sits relative to its caption (shared by every button with a glyph).
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
