#include "shell/japanese_setup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace casl {

bool installJapaneseSetup(QCoreApplication& application) {
    // Half-width glyphs half as wide as full-width ones keep the dump columns aligned.
    QFont::insertSubstitutions(QString::fromUtf8(gothicFamily),
                               {QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic")});
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&application);
    const bool loaded =
        translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
    return loaded;
}

QFont gothicFont(double pointSize) {
    QFont font(QString::fromUtf8(gothicFamily));
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace casl
