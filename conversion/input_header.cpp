#include "conversion/input_header.hpp"

#include <algorithm>
#include <optional>

#include "common/extended_real.hpp"
#include "conversion/wave_chunks.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

namespace {

constexpr ByteView kWaveTag = "WAVE";
constexpr ByteView kFormatTag = "fmt ";
constexpr ByteView kDataTag = "data";
constexpr std::int16_t kPcmFormat = 1;
// WAVE_FORMAT_EXTENSIBLE, 0xFFFE, as the signed field reads it. Its chunk
// carries the real format as a GUID, the SubFormat, at offset 24 of a body
// of at least 40 bytes; the PCM one is 00000001-0000-0010-8000-00AA00389B71,
// stored with its first three groups little-endian.
constexpr std::int16_t kExtensibleFormat = -2;
constexpr std::uint32_t kExtensibleFormatChunk = 40;
constexpr std::int64_t kSubFormatOffset = 24;
constexpr std::uint32_t kSubFormatBytes = 16;
constexpr ByteView kPcmSubFormat{"\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16};

// An RF64 or BW64 file, whose sizes may pass 4 GiB, gives its data chunk the
// size 0xFFFFFFFF and the real one in its "ds64" chunk, 64 bits at offset 8
// of the body (the RIFF size is at 0, the sample count at 16).
constexpr ByteView kRf64Tag = "RF64";
constexpr ByteView kBw64Tag = "BW64";
constexpr std::uint32_t kSizeInDs64 = 0xFFFFFFFF;
constexpr std::int64_t kDs64DataSizeOffset = 8;

// The format code of a canonical file is at offset 20.
constexpr std::int64_t kCanonicalFormatPosition = 21;

constexpr std::string_view kNotWave = "This is not a Wave file ";
constexpr std::string_view kNotPcm = "This is not a PCM format Wave file ";
constexpr std::string_view kNotMono = "This is not a mono Wave file ";
constexpr std::string_view kNotSupportedResolution = "This is not a 24- or 32-bit Wave file ";

// The format fields, from the format code at `position` to the bits per
// sample. The channel field's high byte, at `position` + 3, is stepped over,
// so only its low byte counts.
void ReadFormatFields(FileChannel& channel, std::int64_t position, InputHeader& header) {
  channel.Seek(position);
  header.formatCode = DecodeInt16(channel.ReadBytes(2));
  header.channels = DecodeUnsigned8(channel.ReadBytes(1));
  channel.Seek(position + 4);
  header.sampleRate = DecodeInt32(channel.ReadBytes(4));
  header.byteRate = DecodeInt32(channel.ReadBytes(4));
  header.blockAlign = DecodeInt16(channel.ReadBytes(2));
  header.bitsPerSample = DecodeInt16(channel.ReadBytes(2));
}

// Every field at its place in the canonical layout, whatever the file's
// chunks: what a file without a usable chunk list is read as.
InputHeader ReadCanonicalFields(FileChannel& channel) {
  InputHeader header;
  header.riffTag = channel.ReadBytes(4);
  header.riffSize = channel.ReadBytes(4);
  header.formTag = channel.ReadBytes(4);
  header.fmtTag = channel.ReadBytes(4);
  header.fmtLength = DecodeInt32(channel.ReadBytes(4));
  ReadFormatFields(channel, kCanonicalFormatPosition, header);
  header.dataTag = channel.ReadBytes(4);
  header.declaredDataSize = static_cast<std::uint32_t>(DecodeInt32(channel.ReadBytes(4)));
  return header;
}

// The format fields from the chunk's body; the sub-format only from a body
// long enough to hold it, never from the bytes after a shorter chunk.
void ReadFormatChunk(FileChannel& channel, const ChunkPlace& chunk, InputHeader& header) {
  header.fmtTag = ByteString(kFormatTag);
  header.fmtLength = static_cast<std::int32_t>(chunk.size);
  ReadFormatFields(channel, chunk.bodyPosition, header);
  if (chunk.size >= kExtensibleFormatChunk) {
    channel.Seek(chunk.bodyPosition + kSubFormatOffset);
    header.subFormat = channel.ReadBytes(kSubFormatBytes);
  }
}

// The data chunk's place and size; in an RF64 or BW64 file the ds64 size
// stands in for the chunk's 0xFFFFFFFF, so that a chunk after the samples is
// never read as samples.
void TakeDataChunk(FileChannel& channel, const WaveChunks& chunks, InputHeader& header) {
  const ChunkPlace& data = *chunks.data;
  header.dataTag = ByteString(kDataTag);
  header.declaredDataSize = data.size;
  header.firstSamplePosition = data.bodyPosition;
  const bool sizesIn64Bits = SameBytes(header.riffTag, kRf64Tag) || SameBytes(header.riffTag, kBw64Tag);
  if (sizesIn64Bits && data.size == kSizeInDs64 && chunks.ds64) {
    channel.Seek(chunks.ds64->bodyPosition + kDs64DataSizeOffset);
    const auto low = static_cast<std::uint32_t>(DecodeInt32(channel.ReadBytes(4)));
    const auto high = static_cast<std::uint32_t>(DecodeInt32(channel.ReadBytes(4)));
    header.declaredDataSize = std::uint64_t{high} << 32 | low;
  }
}

// The declared data size, capped by the bytes from the first sample to the
// end of the file; a stream, whose length is unknown, keeps the declared one.
std::uint64_t HeldDataSize(FileChannel& channel, const InputHeader& header) {
  const std::optional<std::uint64_t> length = channel.Length();
  if (!length) return header.declaredDataSize;
  const auto firstSampleOffset = static_cast<std::uint64_t>(header.firstSamplePosition - 1);
  const std::uint64_t held = *length > firstSampleOffset ? *length - firstSampleOffset : 0;
  return std::min(header.declaredDataSize, held);
}

bool IsPcm(const InputHeader& header) {
  return header.formatCode == kPcmFormat ||
         (header.formatCode == kExtensibleFormat && SameBytes(header.subFormat, kPcmSubFormat));
}

std::string_view Rejection(const InputHeader& header) {
  if (!SameBytes(header.formTag, kWaveTag)) return kNotWave;
  if (!IsPcm(header)) return kNotPcm;
  if (header.channels != 1) return kNotMono;
  if (header.bitsPerSample != 24 && header.bitsPerSample != 32) return kNotSupportedResolution;
  return {};
}

// numerator / denominator rounded to nearest, ties to even, done exactly in
// integers. The denominator must be positive.
std::uint64_t DivideRoundHalfEven(std::uint64_t numerator, std::uint64_t denominator) {
  std::uint64_t quotient = numerator / denominator;
  const std::uint64_t twiceRemainder = 2 * (numerator % denominator);
  if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1)) ++quotient;
  return quotient;
}

}  // namespace

HeaderCheck ReadHeader(FileChannel& channel, ByteView fileName) {
  // The input is only read: a file that vanished since its open test is not
  // made anew.
  channel.OpenReadWrite(fileName, FileChannel::WhenMissing::kFail);
  HeaderCheck check{ReadCanonicalFields(channel), {}};
  const WaveChunks chunks = FindWaveChunks(channel);
  if (chunks.format) ReadFormatChunk(channel, *chunks.format, check.header);
  if (chunks.data) TakeDataChunk(channel, chunks, check.header);
  check.header.dataSize = HeldDataSize(channel, check.header);
  channel.Close();
  check.rejection = Rejection(check.header);
  return check;
}

Figures DeriveFigures(const InputHeader& header) {
  // The data size is an unsigned byte count, so sizes of 2 GiB and more keep
  // their value instead of turning negative. Dividing it by whole frame bytes
  // cannot overflow, and over 3 bytes or more the count fits in 63 bits.
  const std::int64_t frameBytes = std::int64_t{header.bitsPerSample} * header.channels / 8;
  Figures figures;
  if (frameBytes > 0) {
    figures.sampleCount =
        static_cast<std::int64_t>(DivideRoundHalfEven(header.dataSize, static_cast<std::uint64_t>(frameBytes)));
  }
  figures.duration = DivideToDouble(figures.sampleCount, header.sampleRate);
  return figures;
}

}  // namespace corvane
