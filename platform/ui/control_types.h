#pragma once
// Small value types that several control families share (labels, flat edits and memos, the
// tree-list grid), kept apart so that none of them has to include another family's header.

// Vertical placement of text in its box.
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Letter case an editor forces on typed and shown text.
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Which scroll bars a control may show.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
