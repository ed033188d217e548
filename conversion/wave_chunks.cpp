#include "conversion/wave_chunks.hpp"

#include "filechannel/packed_array.hpp"

namespace corvane {

namespace {

// The chunk list starts after "RIFF", the RIFF size and the form tag.
constexpr std::int64_t kFirstChunkPosition = 13;
constexpr std::int64_t kChunkHeaderBytes = 8;
// Format code, channels, sample rate, byte rate, block align and bits per
// sample: a shorter "fmt " chunk cannot describe the samples.
constexpr std::uint32_t kSmallestFormatChunk = 16;
// The 64-bit RIFF size and data size.
constexpr std::uint32_t kSmallestDs64Chunk = 16;

constexpr ByteView kFormatId = "fmt ";
constexpr ByteView kDataId = "data";
constexpr ByteView kDs64Id = "ds64";

}  // namespace

WaveChunks FindWaveChunks(FileChannel& channel) {
  WaveChunks chunks;
  std::int64_t position = kFirstChunkPosition;
  while (!chunks.format || !chunks.data) {
    channel.Seek(position);
    if (channel.Position() != position) break;  // a stream, or a failed seek
    const ByteString id = channel.ReadBytes(4);
    const ByteString sizeBytes = channel.ReadBytes(4);
    if (sizeBytes.size() < 4) break;  // the end of the file, or a header cut by it
    const auto size = static_cast<std::uint32_t>(DecodeInt32(sizeBytes));
    const ChunkPlace place{position + kChunkHeaderBytes, size};
    if (!chunks.format && size >= kSmallestFormatChunk && SameBytes(id, kFormatId)) chunks.format = place;
    if (!chunks.data && SameBytes(id, kDataId)) chunks.data = place;
    if (!chunks.ds64 && size >= kSmallestDs64Chunk && SameBytes(id, kDs64Id)) chunks.ds64 = place;
    // 64-bit: a size near 4 GiB plus its pad byte must not wrap round to a
    // position inside the chunk just read.
    position = place.bodyPosition + size + (size & 1);
  }
  return chunks;
}

}  // namespace corvane
