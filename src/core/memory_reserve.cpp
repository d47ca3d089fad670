#include "core/memory_reserve.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace traveno {

namespace {

// Under this, the faults cost less than the call.
constexpr std::size_t kSmallestBlock = 256 * 1024;

#ifdef __linux__
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
// From this size on, the block is also offered large pages (2 MB each
// instead of 4 KB), where the system gives them on request.
constexpr std::size_t kLargePage = 2 * 1024 * 1024;
#endif

}  // namespace

void PrefaultForWriting(void* data, std::size_t bytes) {
#ifdef __linux__
  if (data == nullptr || bytes < kSmallestBlock) return;
  static const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  // Whole pages inside the block: the partial ones at its ends fault as usual.
  const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
  const std::uintptr_t last = (begin + bytes) & ~(page - 1);
  if (last <= first) return;
  // A kernel without either advice refuses it (EINVAL): the pages then
  // fault as before.
  if (last - first >= kLargePage) {
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace traveno
