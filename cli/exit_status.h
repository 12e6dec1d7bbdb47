#pragma once

namespace casl::cli::exit_status {

// The exit statuses of `casl2`; the README and the help page list them.

/// "Program終了", a clean assembly, every case passed.
inline constexpr int success = 0;
/// The assembly does not allow tracing; a case of `check` failed.
inline constexpr int failed = 1;
/// Wrong arguments, a file that cannot be read, a wrong test file.
inline constexpr int usageOrFileError = 2;
/// Another message of the run ended it.
inline constexpr int endedByMessage = 3;
/// The step question was answered No.
inline constexpr int endedByStepQuestion = 4;
/// End was pressed (`--press`).
inline constexpr int endedByEndButton = 5;
/// The printed output of the run reached its bound (`--max-output`).
inline constexpr int outputBoundReached = 6;
/// The run reached its time limit (`--time-limit`).
inline constexpr int timeLimitReached = 7;
/// The memory ran out.
inline constexpr int outOfMemory = 8;
/// The output could not be written (a full disk, a closed standard output).
inline constexpr int outputLost = 9;

} // namespace casl::cli::exit_status
