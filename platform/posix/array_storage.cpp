// Array storage on POSIX. Small blocks come from the C library's zero-filled
// allocation. Large ones are mapped from the kernel, whose fresh pages are
// zero, on a huge page boundary, advised for transparent huge pages and
// populated for writing in the same call: a conversion's arrays span hundreds
// of megabytes, and in a virtual machine each 4 KiB page that the first touch
// faults in costs several microseconds. Populating also makes a shortage of
// memory show here, as no block, instead of as a process killed at some later
// first touch.

#include "filechannel/array_storage.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace corvane {

namespace {

// The size of a transparent huge page on x86-64 and most other processors;
// where it differs, the mapping is merely aligned more than it needs to be.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From this size on, a block is mapped: the smallest block that can hold a
// huge page once it starts on a huge page boundary. Smaller ones stay in the
// C library's heap.
constexpr std::size_t kSmallestMappedBlock = kHugePage;

bool IsMapped(std::size_t bytes) { return bytes >= kSmallestMappedBlock; }

// Maps one huge page more than the block needs, then gives back the part
// before the first huge page boundary and the part after the block, so that
// huge pages can back the block from its first byte. Its last part, short of
// a whole huge page, lies on small pages.
void* MapOnHugePageBoundary(std::size_t bytes) {
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t length = (bytes + page - 1) & ~(page - 1);
  const std::size_t reserved = length + kHugePage;
  if (length < bytes || reserved < length) return nullptr;  // no address space holds that much
  void* mapping = ::mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  auto* const start = static_cast<std::uint8_t*>(mapping);
  const std::size_t head = -reinterpret_cast<std::uintptr_t>(start) & (kHugePage - 1);
  if (head != 0) ::munmap(start, head);
  ::munmap(start + head + length, reserved - head - length);
  return start + head;
}

std::uint8_t* MappedBlock(std::size_t bytes) {
  void* block = MapOnHugePageBoundary(bytes);
  if (block == nullptr) return nullptr;
  // A kernel without transparent huge pages, or older than the populate
  // advice (Linux 5.14), answers EINVAL: the block then lies on small pages,
  // or its first touch fills it. Any other refusal to populate means that
  // the memory is not to be had.
  ::madvise(block, bytes, MADV_HUGEPAGE);
  if (::madvise(block, bytes, MADV_POPULATE_WRITE) != 0 && errno != EINVAL) {
    ::munmap(block, bytes);
    return nullptr;
  }
  return static_cast<std::uint8_t*>(block);
}

}  // namespace

std::uint8_t* AllocateArrayStorage(std::size_t bytes) {
  return IsMapped(bytes) ? MappedBlock(bytes) : static_cast<std::uint8_t*>(std::calloc(bytes, 1));
}

void FreeArrayStorage(std::uint8_t* block, std::size_t bytes) {
  if (block == nullptr) return;
  if (IsMapped(bytes)) {
    ::munmap(block, bytes);
  } else {
    std::free(block);
  }
}

}  // namespace corvane
