#include "shell/frm_about.h"

#include "platform/qt/message_box.h"
#include "platform/qt/qt_text.h"
#include "shell/japanese_setup.h"
#include "shell/workbench_icon.h"
#include "workbench/workbench_texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace casl {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

FrmAbout::FrmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);
    setWindowTitle(platform::qt::toQString(texts::applicationTitle) +
                   QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));

    auto* icon = makeLabel(this, "picIcon", QString());
    icon->setPixmap(workbenchPixmap(64));
    auto* title = makeLabel(this, "lblTitle", QStringLiteral("COMET II & CASL II Simulator"));
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* version = makeLabel(this, "lblVersion", QString::fromUtf8(versionText));
    auto* description = makeLabel(this, "lblDescription",
                                  QStringLiteral("https://casl2.example.org/varnic/\n"
                                                 "E-mail:varnic@casl2.example.org"));
    auto* disclaimer =
        makeLabel(this, "lblDisclaimer",
                  QStringLiteral("このプログラムは CASL II と COMET II を学ぶための教材です。\n"
                                 "無保証で提供され、使用によって生じたいかなる損害についても、"
                                 "作者は責任を負いません。"));
    disclaimer->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(ok, &QPushButton::clicked, this, &FrmAbout::close);
    connect(sysInfo, &QPushButton::clicked, this, &FrmAbout::showSystemInformation);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(description, 2, 1);
    layout->addWidget(disclaimer, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(460);
}

void FrmAbout::showSystemInformation() {
    platform::qt::showMessageBox(this, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"),
                                 platform::qt::toQString(texts::applicationTitle),
                                 MessageButtons::Ok);
}

} // namespace casl
