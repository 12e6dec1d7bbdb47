#pragma once

#include "assembler/assembly_state.h"

namespace casl {

/// Turns every `DC` and `DS` line, the literal lines included, into data words with their
/// labels and display marks.
void dataPass(AssemblyState& state);

} // namespace casl
