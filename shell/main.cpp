// varnic: the CASL II / COMET II workbench window.

#include "shell/form1.h"
#include "shell/form3.h"
#include "shell/japanese_setup.h"
#include "shell/start_arguments.h"
#include "shell/workbench_icon.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

int printAndEnd(const casl::StartArguments& start) {
    std::fputs(start.message.toLocal8Bit().constData(), start.exitStatus == 0 ? stdout : stderr);
    return start.exitStatus;
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version answer without a display, before Qt looks for one; other arguments
    // are read once Qt has taken out its own options (-platform, -style, ...).
    QStringList given;
    for (int i = 0; i < argc; ++i) {
        given.append(QString::fromLocal8Bit(argv[i]));
    }
    if (const auto early = casl::readStartArguments(given, QString());
        !early.message.isEmpty() && early.exitStatus == 0) {
        return printAndEnd(early);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnic"));
    const casl::StartArguments start =
        casl::readStartArguments(QApplication::arguments(), QDir::currentPath());
    if (!start.message.isEmpty()) {
        return printAndEnd(start);
    }
    QApplication::setDesktopFileName(QStringLiteral("varnic"));
    QApplication::setWindowIcon(casl::workbenchIcon());
    casl::installJapaneseSetup(application);

    casl::Form1 window;
    QObject::connect(&window, &casl::Form1::programEnded, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    // The splash closes before the main window appears, so the last window never closes in
    // between.
    QApplication::setQuitOnLastWindowClosed(false);
    casl::Form3 splash;
    splash.showFor(casl::splashMilliseconds, [&window, &start] {
        window.show();
        window.offerRecovery();
        if (!start.file.isEmpty()) {
            window.openGivenFile(start.file);
        }
    });
    return QApplication::exec();
}
