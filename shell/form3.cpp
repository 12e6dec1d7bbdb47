#include "shell/form3.h"

#include "platform/qt/twips.h"
#include "shell/workbench_icon.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace casl {

Form3::Form3() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Opening"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(workbenchPixmap(128));
    picture->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(QStringLiteral("Varnic"), this);
    name->setObjectName(QStringLiteral("Label1"));
    QFont font = name->font();
    font.setPointSize(28);
    font.setBold(true);
    name->setFont(font);
    name->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(picture);
    layout->addWidget(name);
    move(platform::qt::pointFromTwips(1800, 1200));
}

void Form3::showFor(int milliseconds, std::function<void()> then) {
    show();
    raise();
    QTimer::singleShot(milliseconds, this, [this, then = std::move(then)] {
        close();
        then();
    });
}

} // namespace casl
