#pragma once

#include <cstddef>

namespace casl::test {

/// From now on every allocation through operator new above `bytes` fails with std::bad_alloc,
/// as it would under a tight memory limit. Only in a test program that links
/// allocation_limit.cpp, which replaces the global operator new for the whole program.
void limitAllocations(std::size_t bytes);
/// Allocations of any size succeed again.
void liftAllocationLimit();

} // namespace casl::test
