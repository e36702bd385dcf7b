// Block-carving allocator of tree-list nodes (see node_pool.h).
#include "treelist/node_pool.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QL_NODE_POOL_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QL_NODE_POOL_OFF 1
#endif
#endif

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kLargestPooled = 512;  // bigger requests go to the heap
constexpr std::size_t kClassCount = kLargestPooled / kGranule + 1;
// Blocks double from the first size up to the last; large blocks are mapped by the C library
// directly, which costs far less per page than growing its heap in small steps.
constexpr std::size_t kFirstBlockBytes = 256 * 1024;
constexpr std::size_t kLargestBlockBytes = 32 * 1024 * 1024;
// Blocks of this size and more are aligned to it, so that the system can back them with huge
// pages where it does so for large aligned areas: a million nodes then touch a few dozen pages
// instead of tens of thousands.
constexpr std::size_t kHugePageBytes = 2 * 1024 * 1024;

char* allocateBlock(std::size_t bytes) {
  if (bytes < kHugePageBytes) return static_cast<char*>(std::malloc(bytes));
  return static_cast<char*>(std::aligned_alloc(kHugePageBytes, bytes));
}

struct FreeSlot {
  FreeSlot* next;
};

class Pool {
 public:
  void* allocate(std::size_t size) {
    const std::size_t sizeClass = (size + kGranule - 1) / kGranule;
    ++live_;
    if (FreeSlot* slot = free_[sizeClass]) {
      free_[sizeClass] = slot->next;
      return slot;
    }
    const std::size_t bytes = sizeClass * kGranule;
    if (static_cast<std::size_t>(end_ - bump_) < bytes) nextBlock();  // the tail stays unused
    void* p = bump_;
    bump_ += bytes;
    return p;
  }

  void release(void* p, std::size_t size) noexcept {
    const std::size_t sizeClass = (size + kGranule - 1) / kGranule;
    auto* slot = static_cast<FreeSlot*>(p);
    slot->next = free_[sizeClass];
    free_[sizeClass] = slot;
    if (--live_ == 0) restart();
  }

  std::size_t live() const { return live_; }

 private:
  void nextBlock() {
    if (nextBlock_ == blocks_.size()) {
      std::size_t bytes = blocks_.empty()
                              ? kFirstBlockBytes
                              : std::min(blocks_.back().second * 2, kLargestBlockBytes);
      char* block = allocateBlock(bytes);
      if (!block) {
        --live_;
        throw std::bad_alloc();
      }
      blocks_.emplace_back(block, bytes);
    }
    auto [block, bytes] = blocks_[nextBlock_++];
    bump_ = block;
    end_ = block + bytes;
  }

  // No node is left anywhere: keep the first block, return the rest, carve from the front.
  void restart() noexcept {
    for (std::size_t i = 1; i < blocks_.size(); ++i) std::free(blocks_[i].first);
    if (blocks_.size() > 1) blocks_.resize(1);
    std::fill(std::begin(free_), std::end(free_), nullptr);
    nextBlock_ = 0;
    bump_ = end_ = nullptr;
  }

  std::vector<std::pair<char*, std::size_t>> blocks_;  // owned, allocation order
  std::size_t nextBlock_ = 0;                          // index of the block carved next
  char* bump_ = nullptr;                               // carving position in the current block
  char* end_ = nullptr;
  FreeSlot* free_[kClassCount] = {};                   // per size class, last freed first
  std::size_t live_ = 0;
};

// Never destroyed: a node freed during static destruction still finds its pool.
[[maybe_unused]] Pool& pool() {
  static Pool* instance = new Pool;
  return *instance;
}

#ifdef QL_NODE_POOL_OFF
std::size_t heapLive = 0;
#endif

}  // namespace

namespace TqlNodePool {

void* Allocate(std::size_t size) {
#ifdef QL_NODE_POOL_OFF
  void* p = ::operator new(size);
  ++heapLive;
  return p;
#else
  if (size > kLargestPooled) return ::operator new(size);
  return pool().allocate(size);
#endif
}

void Release(void* p, std::size_t size) noexcept {
  if (!p) return;
#ifdef QL_NODE_POOL_OFF
  --heapLive;
  ::operator delete(p);
#else
  if (size > kLargestPooled) {
    ::operator delete(p);
    return;
  }
  pool().release(p, size);
#endif
}

std::size_t LiveCount() {
#ifdef QL_NODE_POOL_OFF
  return heapLive;
#else
  return pool().live();
#endif
}

}  // namespace TqlNodePool
