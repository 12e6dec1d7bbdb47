#include "shell/accessible_texts.h"

#include <QString>
#include <QVariant>
#include <QWidget>
#include <array>
#include <string_view>

namespace casl {

namespace {

struct ControlText {
    std::string_view objectName;
    /// -1 for a control alone, else its index in a control array.
    int index;
    /// "" keeps the name the control's caption gives it.
    std::u16string_view name;
    std::u16string_view description;
};

constexpr std::array mainWindowTexts{
    ControlText{"Label2", -1, u"", u"エディタの見出し"},
    ControlText{"source", -1, u"Source Program",
                u"CASL II のソースプログラム。トレース中は実行した行に「>>>>>> 」が付きます"},
    ControlText{"Assemble", -1, u"", u"エディタのプログラムをアセンブルし、結果を表示します"},
    ControlText{"Trace", -1, u"", u"アセンブルしたプログラムを1命令ずつ実行します"},
    ControlText{"Command1", -1, u"", u"次の命令まで実行します(Enter キー)"},
    ControlText{"Command2", -1, u"", u"トレースを終わります"},
    ControlText{"stepBack", -1, u"", u"1命令前の状態に戻ります(Backspace キー)"},
    ControlText{"Command4", -1, u"", u"ブレークポイントを解除します"},
    ControlText{"Check1", -1, u"", u"データ領域の DS の領域を先頭の語だけにまとめて表示します"},
    ControlText{"Label5", -1, u"", u"ブレークポイントの行の表示"},
    ControlText{"Label6", -1, u"ブレークポイントの行", u"トレースが止まる行の番号"},
    ControlText{"Label7", -1, u"", u"ブレークポイントの行の表示"},
    // The register names of the two arrays are named by their captions.
    ControlText{"Label1", -1, u"", u"汎用レジスタの名前"},
    ControlText{"Label3", -1, u"", u"汎用レジスタの名前"},
    ControlText{"Label4", 0, u"", u"スタックの見出し"},
    ControlText{"Label4", 1, u"", u"データ領域の見出し"},
    ControlText{"Label4", 2, u"レジスタの列", u"2進数、16進数、10進数の列の見出し"},
    ControlText{"GR0", -1, u"GR0", u"GR0 の値: 2進数、16進数、10進数"},
    ControlText{"gr1", -1, u"GR1", u"GR1 の値: 2進数、16進数、10進数"},
    ControlText{"gr2", -1, u"GR2", u"GR2 の値: 2進数、16進数、10進数"},
    ControlText{"gr3", -1, u"GR3", u"GR3 の値: 2進数、16進数、10進数"},
    ControlText{"GR4", -1, u"GR4", u"GR4 の値: 2進数、16進数、10進数"},
    ControlText{"gr5", -1, u"GR5", u"GR5 の値: 2進数、16進数、10進数"},
    ControlText{"gr6", -1, u"GR6", u"GR6 の値: 2進数、16進数、10進数"},
    ControlText{"gr7", -1, u"GR7", u"GR7 の値: 2進数、16進数、10進数"},
    ControlText{"pc", -1, u"PR", u"プログラムレジスタ: 命令のアドレス"},
    ControlText{"sp", -1, u"SP", u"スタックポインタ"},
    ControlText{"fr", -1, u"FR", u"フラグレジスタ: OF、SF、ZF"},
    ControlText{"obj", -1, u"OBJ-Code", u"実行した命令の機械語"},
    ControlText{"Text1", -1, u"Data Area", u"データ領域: ラベル、アドレス、値"},
    ControlText{"Text2", -1, u"Stack Area", u"スタック: アドレスと値"},
    ControlText{"machineScroll", -1, u"トレースの表示",
                u"レジスタ、PR、SP、フラグ、OBJ-Code、データ領域とスタックの表示"},
    // The menu bar's own button for the menus that do not fit beside each other.
    ControlText{"qt_menubar_ext_button", -1, u"ほかのメニュー", u"入りきらないメニューを開きます"},
    ControlText{"examplesButton", -1, u"", u"サンプルプログラムを新しいプログラムとして開きます"},
    ControlText{"viewButton", -1, u"", u"表示の大きさを変えます"},
    ControlText{"exercisesButton", -1, u"", u"演習を開きます: 問題文と採点のケース"},
    ControlText{"exerciseTitle", -1, u"", u"開いている演習の題名"},
    ControlText{"exerciseClose", -1, u"", u"演習を閉じます"},
    ControlText{"exerciseStatement", -1, u"演習の問題文", u"演習が求めるプログラムの説明"},
    ControlText{"exerciseCheck", -1, u"",
                u"エディタのプログラムを演習のすべてのケースで採点します"},
    ControlText{"exerciseSummary", -1, u"", u"合格したケースの数"},
    ControlText{"exerciseCases", -1, u"演習のケース", u"ケースごとの合否。選ぶと詳細を表示します"},
    ControlText{"exerciseCaseDetails", -1, u"", u"選んだケースの期待した結果と実際の結果"},
    ControlText{"exerciseRunCase", -1, u"", u"選んだケースの入力とデータでトレースを始めます"},
    ControlText{"exerciseRunHeading", -1, u"", u"ケースで実行したトレースの合否"},
    ControlText{"exerciseRunDetails", -1, u"", u"トレースの終わりのケースの期待との比較"},
    ControlText{"announcement", -1, u"",
                u"トレースで止まるたびに、止まった行とそのステップで変わったものを示します"},
};

constexpr std::array listingWindowTexts{
    ControlText{"Text1", -1, u"Assemble Result",
                u"アセンブル結果のリスト。行で Enter キーを押すとエディタのその行に移ります"},
    ControlText{"Label1", -1, u"アセンブルエラーの数", u"アセンブルで見つかったエラーの数"},
    ControlText{"Command1", -1, u"", u"リストを印刷します"},
    ControlText{"Command2", -1, u"", u"メインウィンドウに戻ります"},
};

QString qString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

template <std::size_t N> void describe(QWidget& window, const std::array<ControlText, N>& texts) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        const QVariant index = widget->property("index");
        for (const ControlText& text : texts) {
            if (name != QLatin1String(text.objectName.data(),
                                      static_cast<qsizetype>(text.objectName.size())) ||
                (text.index >= 0 && (!index.isValid() || index.toInt() != text.index))) {
                continue;
            }
            if (!text.name.empty()) {
                widget->setAccessibleName(qString(text.name));
            }
            widget->setAccessibleDescription(qString(text.description));
        }
    }
}

} // namespace

void describeMainWindow(QWidget& form1) {
    describe(form1, mainWindowTexts);
}

void describeListingWindow(QWidget& form2) {
    describe(form2, listingWindowTexts);
}

} // namespace casl
