#pragma once

namespace corvane {

// Whether the processor, and the operating system's saving of its registers,
// let the program run AVX2 instructions. Built only where the compiler can
// target x86; each compiler asks the processor its own way.
bool ProcessorRunsAvx2();

}  // namespace corvane
