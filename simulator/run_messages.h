#pragma once

#include <string_view>

namespace casl::messages {

// The texts and titles of the messages that stop or question a run, exactly as the user sees
// them; CR LF ends their lines.

inline constexpr std::u32string_view startAddress = U"プログラム実行開始アドレスエラー";
inline constexpr std::u32string_view runtimeErrorTitle = U"Runtimeエラー";

inline constexpr std::u32string_view stackOverflow = U"Stack Overflow（スタックオーバーフロー）";
inline constexpr std::u32string_view stackUnderflow = U"Stack Underflow(スタックアンダーフロー)";
inline constexpr std::u32string_view negativeShift = U"オペランド(シフトする数)が負になりました";
inline constexpr std::u32string_view errorTitle = U"!Error!";

inline constexpr std::u32string_view storeIntoCode =
    U"データ領域外にレジスタの値を保存しようとしています\r\n処理を中断します\r\n";
inline constexpr std::u32string_view warningTitle = U"プログラム実行中のWarning";

/// Follows the target's hexadecimal and decimal forms.
inline constexpr std::u32string_view branchTarget =
    U"番地を実行しようとしています。\r\n分岐先の命令が見つかりません。\r\nプログラムの実行を中止し"
    U"ます";
inline constexpr std::u32string_view branchTargetTitle = U"実行時のエラー";

inline constexpr std::u32string_view returnTarget =
    U"RETで、プログラム開始アドレスが見つかりません";

inline constexpr std::u32string_view programEnd = U"Program終了";
inline constexpr std::u32string_view programEndTitle = U"Program Terminated";

inline constexpr std::u32string_view outsideProgram =
    U"指定されているアドレスは、このプログラムの\r\n記憶領域外です。\r\n処理を中断します\r\n";
inline constexpr std::u32string_view outsideData =
    U"指定されているアドレスは、このプログラムの\r\nデータ記憶領域外です。\r\n"
    U"　　　処理を中断しますか？\r\n";
inline constexpr std::u32string_view codeArea =
    U"指定されているアドレスは、このプログラムの\r\nコード領域です \r\n処理を中断しますか\r\n";
inline constexpr std::u32string_view operandErrorTitle = U"実行時エラー";

/// The step question is built around the breakpoint caption.
inline constexpr std::u32string_view stepQuestionHead =
    U"100ステップ実行されました。\r\n現在のブレークポイントは";
inline constexpr std::u32string_view stepQuestionTail = U"行目です。\r\nトレースを続行しますか?";
inline constexpr std::u32string_view stepQuestionTitle = U"確認";

inline constexpr std::u32string_view inputPrompt = U"Input";
inline constexpr std::u32string_view inputTitle = U"IN command";
inline constexpr std::u32string_view outputTitle = U"OUT command";

} // namespace casl::messages
