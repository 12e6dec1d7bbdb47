#pragma once

#include <string_view>

namespace casl::texts {

// The texts of the working session, exactly as the window and the page show them.

/// The window's caption before a file was named, and the start of it after (three blanks, then
/// the file's name).
inline constexpr std::u32string_view mainCaption = U"RuzidOV & OzerAR Orozaraz";
inline constexpr std::u32string_view captionGap = U"   ";
/// The title of a message box that has none of its own.
inline constexpr std::u32string_view applicationTitle = U"Varnic";
/// The title of the messages of Exit and of closing the window.
inline constexpr std::u32string_view errorTitle = U"ERROR";

inline constexpr std::u32string_view saveQuestion = U"ソースプログラムを保存しますか?";
inline constexpr std::u32string_view saveQuestionTitle = U"保存しますか?";
/// A failed save: this line, an empty line, then why. Box texts end their lines in CR LF.
inline constexpr std::u32string_view writeFailure = U"ディスクに書き込めません";
inline constexpr std::u32string_view outOfMemoryOnOpen =
    U"メモリが足りないため、ファイルを開けません: ";

inline constexpr std::u32string_view recoveryQuestion =
    U"前回終了したときに保存されていなかった編集内容があります。\r\n復元しますか?";
inline constexpr std::u32string_view recoveryFileLabel = U"\r\n\r\n元のファイル: ";
inline constexpr std::u32string_view recoveryTitle = U"編集内容の復元";

/// Why 戻る cannot be pressed although the run waits: the oldest steps were dropped.
inline constexpr std::u32string_view stepBackDropped =
    U"記録できるステップ数の上限を超えたため、これより前には戻れません";
/// What 戻る does, before the name of its key.
inline constexpr std::u32string_view stepBackHint =
    U"直前のステップを取り消して、1ステップ前に戻ります (";
inline constexpr std::u32string_view stepBackKeyName = U"Backspace";
inline constexpr std::u32string_view stepBackHintEnd = U" キー)";

/// Why Trace cannot be pressed: nothing was assembled yet, the last assembly failed, or the
/// program changed since.
inline constexpr std::u32string_view traceNotAssembled =
    U"Assemble でプログラムをアセンブルすると、トレースできます";
inline constexpr std::u32string_view traceAssemblyFailed =
    U"アセンブルでエラーが出たため、トレースできません。直してからもう一度 Assemble してください";
inline constexpr std::u32string_view traceEdited =
    U"プログラムが変更されました。もう一度 Assemble すると、トレースできます";

/// The examples menu without a program in it.
inline constexpr std::u32string_view noExamples = U"(サンプルが見つかりません)";

} // namespace casl::texts
