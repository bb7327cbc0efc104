// Counts the large blocks of memory a process holds while a piece of work runs: every
// allocation of at least a given size made between Start and Stop, whether by malloc,
// calloc, aligned or array new (all of which come through malloc here) or by an
// anonymous mapping (VirtualAlloc). What counts is the memory the blocks really take:
// the pages that are resident, sampled whenever a block comes or goes, so a block
// that is allocated but never written (untouched zero pages) counts for nothing. The
// figures depend on what the code allocates and writes, never on timing.
#pragma once
#include <cstddef>

namespace pictureblocks {

// False where the hooks cannot be installed (the sanitizer builds bring their own allocator).
bool Available();

struct Tally {
  size_t peakResident = 0;  // the most memory the counted blocks took at once
  size_t peakAllocated = 0; // the most bytes they spanned at once, touched or not
  size_t keptAllocated = 0; // bytes of counted blocks still alive at Stop
  size_t blocks = 0;        // how many blocks were counted
};

void Start(size_t minBytes);
Tally Stop();

}  // namespace pictureblocks
