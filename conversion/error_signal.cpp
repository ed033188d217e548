#include "conversion/error_signal.hpp"

#include "conversion/kernel_sets.hpp"

namespace corvane {

namespace {

// One 16-bit step in the units of 24-bit and 32-bit samples, as the factor
// that scales a sample into steps. Both are powers of two, so multiplying by
// them is as exact as dividing by the step.
constexpr double kPerStep24 = 1.0 / 256.0;
constexpr double kPerStep32 = 1.0 / 65536.0;

}  // namespace

PackedArray GenerateErrorSignal(const PackedArray& samples, std::int32_t sampleCount, std::int32_t bitsPerSample,
                                DitherSource& dither) {
  PackedArray errors;
  CreateArray(errors, sampleCount, 2);
  if (!errors.HasStorage()) return errors;
  if (!samples.HasStorage() || samples.Count() < sampleCount) {
    // The samples were never loaded; their loader has set the error number.
    ReleaseArray(errors);
    return errors;
  }
  const double perStep = bitsPerSample == 24 ? kPerStep24 : kPerStep32;
  const std::uint32_t state =
      FastestKernels().generateErrors(samples.Storage(), errors.Storage(), sampleCount, perStep, dither.State());
  dither.SetState(state);
  return errors;
}

}  // namespace corvane
