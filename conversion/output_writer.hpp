#pragma once

#include <cstdint>

#include "common/byte_string.hpp"
#include "filechannel/file_channel.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

// Writes `errors` as a 16-bit PCM WAV file with the canonical 44-byte header,
// carrying over the input's channel count and sample rate. An existing file
// is overwritten in place and keeps any bytes beyond what is written. Checks
// and reports nothing: a failed open or write leaves its number behind.
void WriteOutputFile(FileChannel& channel, ByteView fileName, const PackedArray& errors, std::int32_t sampleCount,
                     std::int32_t channels, std::int32_t sampleRate);

}  // namespace corvane
