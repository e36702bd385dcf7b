#pragma once
// Where the parts of a window's scroll bars lie (window coordinates).
#include "platform/core/types.h"
#include "platform/ui/win_control.h"

struct TScrollBarParts {
  TRect bar, first, second, track, thumb;  // thumb empty when there is none
};

constexpr int kScrollBarSize = 16;  // SM_CXVSCROLL / SM_CYHSCROLL

TScrollBarParts ScrollBarParts(const TWinControl& control, TScrollBarKind kind);
// The position a thumb whose start lies at `thumbStart` (pixels into the track) stands for.
int ScrollPosFromThumb(const TScrollInfo& info, const TScrollBarParts& parts, bool vertical, int thumbStart);
