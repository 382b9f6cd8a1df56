// Counts every heap allocation of the benchmark's process, on any thread,
// so that the count between two reads is what the code in between
// allocated. Included by exactly one source of each benchmark that uses it.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace counted_allocations {

inline std::atomic<long long> count{0};

}  // namespace counted_allocations

void* operator new(std::size_t size) {
  ++counted_allocations::count;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
