#pragma once

#include "simulator/trace_host.h"
#include "simulator/trace_session.h"

#include <optional>
#include <string>
#include <string_view>

namespace casl::check {

/// How a checked run ended: normally, through one of its bounds, or with one of the messages
/// that stop a run.
enum class RunEnding {
    ProgramEnd,     ///< "Program終了"
    StepLimit,      ///< The step budget was spent: the step question was answered No.
    OutputLimit,    ///< The `OUT` text grew past its bound.
    TimeLimit,      ///< The run took longer than its time limit.
    StartAddress,   ///< "プログラム実行開始アドレスエラー"
    StackOverflow,  ///< "Stack Overflow（スタックオーバーフロー）"
    StackUnderflow, ///< "Stack Underflow(スタックアンダーフロー)"
    NegativeShift,  ///< "オペランド(シフトする数)が負になりました"
    StoreIntoCode, ///< "データ領域外にレジスタの値を保存しようとしています" …
    BranchTarget,          ///< "…番地を実行しようとしています。" …
    ReturnTarget,          ///< "RETで、プログラム開始アドレスが見つかりません"
    OutsideProgramWarning, ///< "記憶領域外です。" for an address written as a number
    OutsideData,           ///< "データ記憶領域外です。" answered Yes
    CodeArea,              ///< "コード領域です " answered Yes
    OutsideProgram,        ///< "記憶領域外です。" for a label, title "実行時エラー"
};

/// The name a test file and the reports use for an ending ("program-end", "stack-overflow").
std::string_view endingName(RunEnding ending);
/// The ending a name stands for.
std::optional<RunEnding> endingByName(std::string_view name);
/// Every ending, in the order of the help page.
inline constexpr RunEnding allEndings[] = {
    RunEnding::ProgramEnd,     RunEnding::StepLimit,     RunEnding::OutputLimit,
    RunEnding::TimeLimit,      RunEnding::StartAddress,  RunEnding::StackOverflow,
    RunEnding::StackUnderflow, RunEnding::NegativeShift, RunEnding::StoreIntoCode,
    RunEnding::BranchTarget,   RunEnding::ReturnTarget,  RunEnding::OutsideProgramWarning,
    RunEnding::OutsideData,    RunEnding::CodeArea,      RunEnding::OutsideProgram,
};

/// A message text as a test file compares it: LF line ends, no line end at the end.
std::u32string comparableMessage(std::u32string_view text);

/// The ending whose message has `text` (compared as `comparableMessage`); the branch message
/// matches whatever target it names. Nothing when no message of a run has that text.
std::optional<RunEnding> endingByMessage(std::u32string_view text);

/// The ending of a run that ended by itself or at the step question; `endingBox` is the
/// session's box that ended it, if a box did.
RunEnding classifyEnding(TraceEnding ending, const RunBox* endingBox);

} // namespace casl::check
