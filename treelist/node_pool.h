#pragma once
// Memory for tree-list nodes. A grid holds a node per record and a reload frees and creates
// them by the hundred thousand, so nodes are carved from large blocks instead of one heap call
// each: a request is one bump or one free-list pop. Sizes round up to 16 bytes; each size has
// its own free list. When the last node of the process is freed, every block but the first
// goes back to the system and carving restarts at the front, so a rebuilt tree lies at
// rising addresses again (the row cache's address sort then has nothing to do).
//
// Nodes live on the UI thread; the pool is not synchronised. Under AddressSanitizer it hands
// every request to the global heap so that a freed node stays poisoned.
#include <cstddef>

namespace TqlNodePool {

void* Allocate(std::size_t size);
void Release(void* p, std::size_t size) noexcept;
// Nodes handed out and not yet released (a test aid).
std::size_t LiveCount();

}  // namespace TqlNodePool
