#pragma once

#include <cstdint>

#include "conversion/dither_source.hpp"
#include "filechannel/packed_array.hpp"

namespace corvane {

// Turns the samples (signed 32-bit, 24- or 32-bit resolution) into the error
// signal: for each sample the distance from the nearest 16-bit value, times
// 16000, plus triangular dither of plus or minus one step, as signed 16-bit.
// Draws exactly two values per sample from `dither`, sample by sample.
// Without samples to read (a count of 0 or less, or samples without storage)
// nothing is drawn and the result has no storage; the error number then says
// why (9 or 7).
PackedArray GenerateErrorSignal(const PackedArray& samples, std::int32_t sampleCount, std::int32_t bitsPerSample,
                                DitherSource& dither);

}  // namespace corvane
