#pragma once

#include <cstdint>

#include "common/byte_string.hpp"
#include "conversion/input_header.hpp"
#include "filechannel/file_channel.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

// Reads the file's `sampleCount` samples, which start at `firstSamplePosition`
// (the data chunk's body; position 45 in a canonical file), into an array of
// signed 32-bit values in one transfer; 24-bit samples are widened with their
// sign. The channel is opened and closed again here; a missing file is never
// created. A file that ends early leaves the missing samples at 0. When the
// array cannot be created (a count of 0 or less, one whose bytes exceed 32
// bits, or no memory) the result has no storage and the error number says why
// (9 or 7).
PackedArray LoadSamples(FileChannel& channel, ByteView fileName, std::int64_t sampleCount, std::int32_t bitsPerSample,
                        std::int64_t firstSamplePosition);

}  // namespace corvane
