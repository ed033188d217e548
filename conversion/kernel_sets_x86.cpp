// The kernel sets of a build for x86 processors: AVX2 where the processor has
// it, the plain loops everywhere.

#include "common/processor_features.hpp"
#include "conversion/kernel_sets.hpp"

namespace corvane {

namespace {
constexpr SampleKernels kPlain{"plain", WidenCellsPlain, GenerateErrorsPlain};
constexpr SampleKernels kAvx2{"avx2", WidenCellsAvx2, GenerateErrorsAvx2};
}  // namespace

std::vector<SampleKernels> RunnableKernelSets() {
  if (ProcessorRunsAvx2()) return {kAvx2, kPlain};
  return {kPlain};
}

SampleKernels FastestKernels() { return ProcessorRunsAvx2() ? kAvx2 : kPlain; }

}  // namespace corvane
