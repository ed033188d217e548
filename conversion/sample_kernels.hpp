#pragma once

#include <cstdint>

namespace corvane {

// The inner loops of the conversion, over raw sample blocks, in one set per
// instruction set. Every set gives exactly the same bytes: the plain set runs
// on any processor and is the one to read; the others are its twins for wider
// instructions and run only where the processor has them.

// Widens `count` packed 24-bit cells (three bytes each, lowest first, bit 23
// the sign) into signed 32-bit little-endian values, in place: the cells lie
// from byte `count` of `block` on, the values go from byte 0 on, and the block
// holds 4 * count bytes. Front to back, a value never reaches a cell not yet
// read: value i ends at byte 4i + 4, cell i + 1 starts at byte count + 3i + 3.
using WidenCells = void (*)(std::uint8_t* block, std::int32_t count);

// The amplification of the error, in 16-bit steps, that both kernel sets use.
inline constexpr double kErrorGain = 16000.0;

// The error signal of `count` signed 32-bit little-endian samples, as signed
// 16-bit little-endian values: for each sample x = sample * perStep, the
// distance from x to its nearest integer (ties to even) times 16000, plus two
// values of the dither generator whose state is `ditherState`, minus 1,
// rounded to nearest with ties to even. Draws two values per sample, sample by
// sample, and returns the generator's state after the last draw.
using GenerateErrors = std::uint32_t (*)(const std::uint8_t* samples, std::uint8_t* errors, std::int32_t count,
                                         double perStep, std::uint32_t ditherState);

struct SampleKernels {
  const char* name;
  WidenCells widenCells;
  GenerateErrors generateErrors;
};

void WidenCellsPlain(std::uint8_t* block, std::int32_t count);
std::uint32_t GenerateErrorsPlain(const std::uint8_t* samples, std::uint8_t* errors, std::int32_t count, double perStep,
                                  std::uint32_t ditherState);

// The twins for AVX2, in a file of their own that alone is compiled for AVX2;
// built only where the compiler can target it, called only where the
// processor has it.
void WidenCellsAvx2(std::uint8_t* block, std::int32_t count);
std::uint32_t GenerateErrorsAvx2(const std::uint8_t* samples, std::uint8_t* errors, std::int32_t count, double perStep,
                                 std::uint32_t ditherState);

}  // namespace corvane
