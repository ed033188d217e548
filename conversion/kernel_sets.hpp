#pragma once

#include <vector>

#include "conversion/sample_kernels.hpp"

namespace corvane {

// The kernel sets of this build that the processor can run, fastest first;
// the plain set is always there, last.
std::vector<SampleKernels> RunnableKernelSets();

// The fastest of them, which the conversion uses.
SampleKernels FastestKernels();

}  // namespace corvane
