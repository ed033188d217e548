#pragma once

#include <cstdint>

#include "common/byte_string.hpp"
#include "filechannel/file_channel.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

// Writes `errors` as a 16-bit PCM WAV file with the canonical 44-byte header,
// carrying over the input's channel count and sample rate. An existing file
// is overwritten in place and keeps any bytes beyond what is written.
//
// True when every byte was written. When the open or a write fails, the
// error number says why, and a file that this call created is removed again,
// so a failure never leaves a partial file behind; a file that existed before
// is left as the failed writes left it (never truncated).
bool WriteOutputFile(FileChannel& channel, ByteView fileName, const PackedArray& errors, std::int32_t sampleCount,
                     std::int32_t channels, std::int32_t sampleRate);

}  // namespace corvane
