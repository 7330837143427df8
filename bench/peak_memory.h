#pragma once
// Every allocation of a benchmark program counted, so a routine's peak memory can be read
// beside its input's size. It replaces the program's allocation functions, so only one
// source file of a program includes it.
#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace peak_memory {

inline std::atomic<std::size_t> live_bytes{0}, peak_bytes{0};

inline void* Allocate(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  std::size_t now = live_bytes += malloc_usable_size(p);
  std::size_t peak = peak_bytes.load();
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
  return p;
}

inline void Release(void* p) {
  if (!p) return;
  live_bytes -= malloc_usable_size(p);
  std::free(p);
}

// The most memory held at once while run() runs, beyond what was held before it.
template <class Run>
std::size_t PeakDuring(Run&& run) {
  std::size_t before = live_bytes;
  peak_bytes = before;
  run();
  return peak_bytes - before;
}

}  // namespace peak_memory

void* operator new(std::size_t n) { return peak_memory::Allocate(n); }
void* operator new[](std::size_t n) { return peak_memory::Allocate(n); }
void operator delete(void* p) noexcept { peak_memory::Release(p); }
void operator delete[](void* p) noexcept { peak_memory::Release(p); }
void operator delete(void* p, std::size_t) noexcept { peak_memory::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { peak_memory::Release(p); }
