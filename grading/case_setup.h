#pragma once

#include "assembler/program_tables.h"
#include "grading/check_case.h"
#include "simulator/machine_state.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace casl::check {

/// The first data-word row whose `DC` or `DS` line has `label`; 0 when none has.
int labelledDataRow(const ProgramTables& tables, std::u32string_view label);

/// Sets the data words of the case's `setup.data` in `tables`, in the order the file gives
/// them, as a `DC` line would hold them: a decimal value as written, "#hhhh" and characters as
/// their signed 16-bit pattern. Returns why the case cannot run when a label labels no data
/// word or its words run past the last one; nothing is set then.
std::optional<std::string> applySetup(ProgramTables& tables, const CheckCase& c);

/// Readies `tables`, fresh from the assembly, for the run of `c`: sets its `setup.data` and
/// finds the line the run starts on (the subroutine's first line for a case that calls one,
/// else 1). Returns that line, or why the case cannot run.
std::variant<int, std::string> prepareCaseRun(ProgramTables& tables, const CheckCase& c);

/// The machine a case's run starts with: a new window's, with the registers of the call for a
/// case that calls a subroutine.
MachineState machineAtStart(const CheckCase& c);

} // namespace casl::check
