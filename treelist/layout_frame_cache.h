#pragma once
// The frame of the layout (treelist_layout.h: areas, band cells, header cells) kept between
// questions, so that a mouse move or a hit test does not lay out every band and column again.
//
// Valid until Invalidate, and only for the client rectangle and the left coordinate it was
// built for (the two changes that need no layout pass). Whoever changes anything else the
// frame is made of (metrics, bands, columns, widths, fonts, options) runs the layout pass
// (TCustomqlTreeList::RecalcLayout), whose first step (TqlTreeListGeometry::DropFrame)
// invalidates it; TqlTreeListGeometry owns the cache. Debug builds compare the kept
// frame with a fresh one on every use, so a change that skips the layout pass shows at once.
//
// The frame is shared: a caller holding it keeps its copy alive across a rebuild.
#include <memory>

#include "platform/core/types.h"

struct TqlLayoutSnapshot;

class TqlLayoutFrameCache {
 public:
  using Frame = std::shared_ptr<const TqlLayoutSnapshot>;

  void Invalidate() { valid_ = false; }
  bool IsValidFor(const TRect& client, int leftCoord) const {
    return valid_ && client == client_ && leftCoord == leftCoord_;
  }
  const Frame& Get() const { return frame_; }
  void Store(Frame frame, const TRect& client, int leftCoord) {
    frame_ = std::move(frame);
    client_ = client;
    leftCoord_ = leftCoord;
    valid_ = true;
  }

 private:
  Frame frame_;
  TRect client_;
  int leftCoord_ = 0;
  bool valid_ = false;
};
