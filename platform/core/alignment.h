#pragma once
// Horizontal alignment of text in a control, a field or a grid column.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
