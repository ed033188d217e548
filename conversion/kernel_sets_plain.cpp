// The kernel sets of a build for a processor without a vectorised twin: the
// plain loops alone.

#include "conversion/kernel_sets.hpp"

namespace corvane {

namespace {
constexpr SampleKernels kPlain{"plain", WidenCellsPlain, GenerateErrorsPlain};
}  // namespace

std::vector<SampleKernels> RunnableKernelSets() { return {kPlain}; }

SampleKernels FastestKernels() { return kPlain; }

}  // namespace corvane
