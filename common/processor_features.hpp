#pragma once

namespace corvane {

// Whether the processor, and the operating system's saving of its registers,
// let the program run AVX2 instructions. Built only where the compiler can
// target x86.
bool ProcessorRunsAvx2();

}  // namespace corvane
