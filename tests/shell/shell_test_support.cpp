#include "shell_test_support.h"

#include "shell/form1.h"
#include "shell/japanese_setup.h"
#include "shell/source_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPaintEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <memory>

namespace casl::test {

void setUpApplication() {
    static bool done = false;
    if (!done) {
        installJapaneseSetup(*QApplication::instance());
        done = true;
    }
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

void typeIntoEditor(Form1& window, const QString& text) {
    SourceEditor* editor = window.editor();
    editor->setFocus();
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(editor, Qt::Key_Return);
        } else if (c == QLatin1Char('\t')) {
            QTest::keyClick(editor, Qt::Key_Tab);
        } else if (c.unicode() < 0x80) {
            QTest::keyClicks(editor, QString(c));
        } else {
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void clickOnLine(Form1& window, int line) {
    SourceEditor* editor = window.editor();
    QTextCursor cursor(editor->document()->findBlockByNumber(line - 1));
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier,
                      editor->cursorRect(cursor).center() + QPoint(2, 0));
}

void pasteIntoEditor(Form1& window, const QString& text) {
    QApplication::clipboard()->setText(text);
    window.selectAll();
    window.pasteClipboard();
}

void assembleAndShow(Form1& window, const QString& program) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pasteIntoEditor(window, program);
    child<QPushButton>(&window, "Assemble")->click();
    QVERIFY(child<QPushButton>(&window, "Trace")->isEnabled());
}

int markedEditorLine(const Form1& window) {
    const QStringList lines = window.editor()->toPlainText().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QStringLiteral(">>>>>> \t"))) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(45, 45, 48));
    palette.setColor(QPalette::WindowText, QColor(220, 220, 220));
    palette.setColor(QPalette::Base, QColor(30, 30, 30));
    palette.setColor(QPalette::Text, QColor(220, 220, 220));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::Link, QColor(86, 156, 214));
    return palette;
}

QPalette lightPalette() {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

PaintedRegion::PaintedRegion(QWidget& widget) {
    widget.installEventFilter(this);
}

bool PaintedRegion::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        region += static_cast<QPaintEvent*>(event)->region();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace casl::test
