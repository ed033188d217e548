// Array storage on POSIX. Small blocks come from the C library's zero-filled
// allocation. Large ones are mapped straight from the kernel, whose fresh pages
// are zero, and marked for transparent huge pages: a conversion's arrays span
// hundreds of megabytes, and on 4 KiB pages their first touch costs one fault
// per page, tens of thousands in all, where 2 MiB pages need a few hundred.

#include "filechannel/array_storage.hpp"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace corvane {

namespace {

// The size of a transparent huge page on x86-64 and most other processors;
// where it differs, the mapping is merely aligned more than needed.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Blocks of at least this size are mapped; smaller ones would waste most of
// a huge page.
constexpr std::size_t kSmallestMappedBlock = kHugePage;

// Every block starts with this record; the caller's bytes follow 64 bytes
// after the start, which keeps a mapped block's bytes on a cache line boundary.
struct BlockRecord {
  void* mapping;             // the start of the mapping, or nullptr for a heap block
  std::size_t mappedLength;  // the mapping's length in bytes
};
constexpr std::size_t kRecordBytes = 64;
static_assert(sizeof(BlockRecord) <= kRecordBytes);

std::uint8_t* WithRecord(void* start, BlockRecord record) {
  std::memcpy(start, &record, sizeof record);
  return static_cast<std::uint8_t*>(start) + kRecordBytes;
}

std::uint8_t* HeapBlock(std::size_t bytes) {
  void* start = std::calloc(kRecordBytes + bytes, 1);
  return start == nullptr ? nullptr : WithRecord(start, BlockRecord{nullptr, 0});
}

// Maps one huge page more than needed so that the record can start on a huge
// page boundary, where the kernel can back the block with huge pages from its
// first byte. The pages beyond the block are never touched and cost nothing.
std::uint8_t* MappedBlock(std::size_t bytes) {
  const std::size_t length = kHugePage + kRecordBytes + bytes;
  void* mapping = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(mapping);
  auto* start = reinterpret_cast<void*>((address + kHugePage - 1) & ~(kHugePage - 1));
  // Without huge pages (switched off, or unknown to the kernel) the block
  // still works on small pages, so a refusal is no failure.
  ::madvise(start, kRecordBytes + bytes, MADV_HUGEPAGE);
  return WithRecord(start, BlockRecord{mapping, length});
}

}  // namespace

std::uint8_t* AllocateArrayStorage(std::size_t bytes) {
  if (bytes > std::numeric_limits<std::size_t>::max() - kHugePage - kRecordBytes) return nullptr;
  return bytes < kSmallestMappedBlock ? HeapBlock(bytes) : MappedBlock(bytes);
}

void FreeArrayStorage(std::uint8_t* block) {
  if (block == nullptr) return;
  void* start = block - kRecordBytes;
  BlockRecord record;
  std::memcpy(&record, start, sizeof record);
  if (record.mapping == nullptr) {
    std::free(start);
  } else {
    ::munmap(record.mapping, record.mappedLength);
  }
}

}  // namespace corvane
