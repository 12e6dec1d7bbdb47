#include "shell/start_arguments.h"

#include <QCommandLineParser>
#include <QDir>
#include <QUrl>

namespace casl {

namespace {

const char* const helpText =
    "Usage: varnic [OPTIONS] [FILE]\n"
    "The CASL II workbench window: edit, assemble and trace CASL II programs.\n"
    "\n"
    "Positionals:\n"
    "  FILE                        The program to open (a .cas file)\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "  --version                   Print the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, -display, ...) are taken as well.\n";

} // namespace

StartArguments readStartArguments(const QStringList& arguments, const QString& currentFolder) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("version"));
    parser.addOptions({help, version});

    StartArguments start;
    if (!parser.parse(arguments)) {
        start.message = QStringLiteral("varnic: ") + parser.errorText() + QLatin1Char('\n');
        start.exitStatus = 2;
        return start;
    }
    if (parser.isSet(help)) {
        start.message = QString::fromLatin1(helpText);
        return start;
    }
    if (parser.isSet(version)) {
        start.message = QStringLiteral("varnic " CASL_VERSION "\n");
        return start;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        start.message = QStringLiteral("varnic: opens one FILE, not %1\n").arg(files.size());
        start.exitStatus = 2;
        return start;
    }
    if (files.isEmpty()) {
        return start;
    }
    QString file = files.front();
    if (file.startsWith(QStringLiteral("file:"))) {
        file = QUrl(file).toLocalFile();
    }
    start.file = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(file));
    return start;
}

} // namespace casl
