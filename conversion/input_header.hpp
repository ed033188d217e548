#pragma once

#include <cstdint>
#include <string_view>

#include "common/byte_string.hpp"
#include "filechannel/file_channel.hpp"

namespace corvane {

// Where the samples of a canonical file start: offset 44, right after its
// 44-byte header.
inline constexpr std::int64_t kCanonicalFirstSamplePosition = 45;

// The fields of the input file's header. The offsets are those of the
// canonical 44-byte layout, where every field is first read. Where the file's
// chunk list holds a "fmt " chunk, the format fields (fmt tag to bits per
// sample) come from that chunk instead; where it holds a "data" chunk, the
// data tag, the declared data size and the first sample's position come from
// that one. The tags and the RIFF size are kept as the raw bytes that were
// read (fewer than 4 when the file ends early).
//
// An RF64 or BW64 file declares its data size in its "ds64" chunk, where the
// data chunk says 0xFFFFFFFF. The data size that the conversion uses is the
// declared one, but never more than the file holds from the first sample to
// its end: a writer that sent the file down a pipe could not go back to fill
// in the real size and left a placeholder (0xFFFFFFFF, or 0x7FFFEFFF), and a
// file cut short lacks the end of its samples. Only the samples that are
// there are converted, never silence the file does not hold. A stream's
// length is unknown, so there the declared size stands.
struct InputHeader {
  ByteString riffTag;                  // offset 0; "RF64" and "BW64" mark a ds64 chunk's sizes
  ByteString riffSize;                 // offset 4, never used
  ByteString formTag;                  // offset 8, must be "WAVE"
  ByteString fmtTag;                   // offset 12, not checked
  std::int32_t fmtLength = 0;          // offset 16, not checked
  std::int16_t formatCode = 0;         // offset 20, must be 1 (PCM), or extensible with the PCM sub-format
  std::uint16_t channels = 0;          // offset 22, low byte only; must be 1
  std::int32_t sampleRate = 0;         // offset 24
  std::int32_t byteRate = 0;           // offset 28, not checked
  std::int16_t blockAlign = 0;         // offset 32, not checked
  std::int16_t bitsPerSample = 0;      // offset 34, must be 24 or 32
  ByteString subFormat;                // GUID of an extensible format; empty unless its "fmt " chunk holds one
  ByteString dataTag;                  // offset 36, not checked
  std::uint64_t declaredDataSize = 0;  // offset 40, an unsigned 32-bit byte count; 64 bits from an RF64 "ds64"
  std::uint64_t dataSize = 0;          // what the conversion uses: the declared size, capped by the file's bytes
  std::int64_t firstSamplePosition = kCanonicalFirstSamplePosition;  // 1-based; the data chunk's body, else offset 44
};

// A header as read, and why it was rejected: empty when it was accepted.
struct HeaderCheck {
  InputHeader header;
  std::string_view rejection;

  bool Accepted() const { return rejection.empty(); }
};

// Opens the file on the channel, reads the header field by field at the
// canonical offsets, then takes the fields of the "fmt " and "data" chunks
// wherever the chunk list has them and caps the data size by the file's
// length, closes the channel again and checks, in order, the form tag, the
// format code, the channel count and the resolution; the first failing check
// names the rejection. A short file reads its missing fields as zero.
HeaderCheck ReadHeader(FileChannel& channel, ByteView fileName);

// What an accepted header implies: the sample count and the duration.
struct Figures {
  // 64 bits: a count beyond 32 bits is kept whole, for the arrays to refuse.
  std::int64_t sampleCount = 0;
  double duration = 0.0;  // seconds; infinite or NaN for a sample rate of 0
};

// The sample count is the data size over the bytes of one sample frame,
// rounded to nearest with ties to even; the duration is that count over the
// sample rate. Meant for accepted headers only, whose frames are 3 or 4 whole
// bytes.
Figures DeriveFigures(const InputHeader& header);

}  // namespace corvane
