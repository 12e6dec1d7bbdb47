// varnic: the CASL II / COMET II workbench window.

#include "shell/form1.h"
#include "shell/form3.h"
#include "shell/japanese_setup.h"
#include "shell/workbench_icon.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnic"));
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
    splash.showFor(casl::splashMilliseconds, [&window] {
        window.show();
        window.offerRecovery();
    });
    return QApplication::exec();
}
