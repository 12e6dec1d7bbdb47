#pragma once

#include <string_view>

namespace casl::texts {

// The texts of the exercises, exactly as the window and the page show them.

/// The exercises menu, and what it says without an exercise in it.
inline constexpr std::u32string_view exercisesMenu = U"演習";
inline constexpr std::u32string_view noExercises = U"(演習が見つかりません)";
/// The command that checks the program against the exercise's cases, and the one that closes
/// the exercise's pane.
inline constexpr std::u32string_view checkCommand = U"採点";
inline constexpr std::u32string_view closeExercise = U"閉じる";
/// The command that copies a link to the open exercise, with the program when it is the
/// student's own.
inline constexpr std::u32string_view exerciseLinkCommand = U"演習のリンクをコピー";
/// A case of the results list can be run.
inline constexpr std::u32string_view runCaseCommand = U"このケースで実行";

/// Before the first Check, and after the program changed since the last one.
inline constexpr std::u32string_view notChecked =
    U"採点 を押すと、エディタのプログラムを各ケースで実行して確かめます";
inline constexpr std::u32string_view checkStale =
    U"プログラムが変更されました。もう一度 採点 してください";
/// The results: "3 / 5 ケースに合格", or every case passed.
inline constexpr std::u32string_view casesPassedMiddle = U" / ";
inline constexpr std::u32string_view casesPassedEnd = U" ケースに合格";
inline constexpr std::u32string_view allCasesPassed = U"すべてのケースに合格しました";
/// A case's verdict.
inline constexpr std::u32string_view casePassed = U"合格";
inline constexpr std::u32string_view caseFailed = U"不合格";
/// A hidden case shows only its name and verdict.
inline constexpr std::u32string_view hiddenCase = U"(非公開のケース)";
/// Between what was expected and what came out: `output: expected "CBA", got "CB"`.
inline constexpr std::u32string_view expectedWord = U": expected ";
inline constexpr std::u32string_view gotWord = U", got ";

/// The run of a case: what it is given, and how it came out.
inline constexpr std::u32string_view caseRunOpen = U"ケース「";
inline constexpr std::u32string_view caseRunClose = U"」";
inline constexpr std::u32string_view caseRunGoing = U"で実行中";
inline constexpr std::u32string_view caseRunInputs = U"IN への入力: ";
inline constexpr std::u32string_view caseRunNoInputs = U"IN への入力: なし";
inline constexpr std::u32string_view caseRunSetup = U"実行前に設定するデータ: ";
inline constexpr std::u32string_view caseRunPassed = U": 合格 (ケースの期待どおりです)";
inline constexpr std::u32string_view caseRunFailed = U": 不合格 (ケースの期待と違います)";
inline constexpr std::u32string_view caseRunStopped =
    U": 実行を途中で終えたため、ケースの期待とは比べていません";

/// An exercise that cannot be opened, or a case that cannot be run: this line, an empty line,
/// then why.
inline constexpr std::u32string_view exerciseNotOpened = U"演習を開けません";
inline constexpr std::u32string_view caseNotRun = U"このケースでは実行できません";

} // namespace casl::texts
