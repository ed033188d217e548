#pragma once

#include <cstdint>
#include <optional>

#include "filechannel/file_channel.hpp"

namespace corvane {

// Where one chunk of a RIFF file lies: the 1-based position of the first byte
// of its body, right after its 8-byte header, and the size that the header
// declares. The body may run past the end of the file.
struct ChunkPlace {
  std::int64_t bodyPosition = 0;
  std::uint32_t size = 0;
};

// The chunks of a WAV file that the conversion needs, where they were found.
struct WaveChunks {
  std::optional<ChunkPlace> format;  // the first "fmt " chunk of at least 16 bytes
  std::optional<ChunkPlace> data;    // the first "data" chunk
  // The first "ds64" chunk of at least 16 bytes: an RF64 file's 64-bit RIFF
  // and data sizes. It stands first in the list, before the other two.
  std::optional<ChunkPlace> ds64;
};

// Walks the chunk list of the file open on the channel, from offset 12 on,
// until the "fmt " and "data" chunks are found. Each chunk is a 4-byte id, a
// 32-bit little-endian size, the body and one pad byte after a body of odd
// size. The walk ends at the end of the file, at a chunk header that the file
// does not hold whole, or where the channel cannot be positioned (a stream);
// so a chunk whose size runs past the end of the file is the last one it
// sees. Every step moves at least 8 bytes on, so the walk always ends.
WaveChunks FindWaveChunks(FileChannel& channel);

}  // namespace corvane
