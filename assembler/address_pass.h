#pragma once

#include "assembler/assembly_state.h"

namespace casl {

/// Gives every line its address and word length; finds unknown mnemonics (7), bad `DS` counts
/// and `DC` items (8, 9) and marks comment lines "0". The first `START` restarts the location
/// counter at 0.
void addressPass(AssemblyState& state);

} // namespace casl
