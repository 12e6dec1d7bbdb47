#include "shell/zoom.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWheelEvent>
#include <array>
#include <cmath>

namespace casl {

namespace {

/// The sizes, as shares of the normal size.
constexpr std::array levels{0.6, 0.75, 0.85, 1.0, 1.15, 1.3, 1.5, 1.75, 2.0, 2.5};
constexpr int normalLevel = 3;
/// One notch of a mouse wheel.
constexpr int wheelNotch = 120;

int evenPixels(double pixels) {
    return std::max(6, 2 * static_cast<int>(std::lround(pixels / 2)));
}

QAction* makeAction(QObject* parent, const char* name, const QString& text,
                    const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace

Zoom::Zoom(QObject* parent)
    : QObject(parent), level_(normalLevel),
      zoomIn_(makeAction(
          this, "zoomIn", QStringLiteral("拡大"),
          {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)})),
      zoomOut_(makeAction(this, "zoomOut", QStringLiteral("縮小"),
                          {QKeySequence(Qt::CTRL | Qt::Key_Minus)})),
      reset_(makeAction(this, "zoomReset", QStringLiteral("標準の大きさ"),
                        {QKeySequence(Qt::CTRL | Qt::Key_0)})) {
    setObjectName(QStringLiteral("zoom"));
    connect(zoomIn_, &QAction::triggered, this, &Zoom::zoomIn);
    connect(zoomOut_, &QAction::triggered, this, &Zoom::zoomOut);
    connect(reset_, &QAction::triggered, this, &Zoom::reset);
}

void Zoom::add(QWidget* widget) {
    Scaled scaled{widget,
                  widget->font(),
                  QFontInfo(widget->font()).pixelSize(),
                  qobject_cast<QLabel*>(widget) ? widget->minimumWidth() : 0,
                  widget->minimumHeight(),
                  0};
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        scaled.tabStop = edit->tabStopDistance();
    }
    widget->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        area->viewport()->installEventFilter(this);
    }
    scaled_.push_back(scaled);
    apply(scaled_.back());
}

void Zoom::addShortcutsTo(QWidget* window) {
    window->addActions({zoomIn_, zoomOut_, reset_});
}

double Zoom::factor() const {
    return levels[static_cast<std::size_t>(level_)];
}

void Zoom::zoomIn() {
    step(1);
}

void Zoom::zoomOut() {
    step(-1);
}

void Zoom::reset() {
    step(normalLevel - level_);
}

void Zoom::step(int by) {
    const int level = std::clamp(level_ + by, 0, static_cast<int>(levels.size()) - 1);
    if (level == level_) {
        return;
    }
    level_ = level;
    for (Scaled& scaled : scaled_) {
        apply(scaled);
    }
    zoomIn_->setEnabled(level_ + 1 < static_cast<int>(levels.size()));
    zoomOut_->setEnabled(level_ > 0);
    emit factorChanged(factor());
}

void Zoom::apply(Scaled& scaled) const {
    QWidget* widget = scaled.widget;
    if (!widget) {
        return;
    }
    QFont font = scaled.font;
    double share = 1.0;
    if (level_ != normalLevel) {
        const int pixels = evenPixels(scaled.pixelSize * factor());
        font.setPixelSize(pixels);
        share = static_cast<double>(pixels) / scaled.pixelSize;
    }
    widget->setFont(font);
    if (scaled.minimumWidth > 0) {
        widget->setMinimumWidth(static_cast<int>(std::lround(scaled.minimumWidth * share)));
    }
    if (scaled.minimumHeight > 0) {
        widget->setMinimumHeight(static_cast<int>(std::lround(scaled.minimumHeight * share)));
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        // The tab stops stay at the same column: as many blanks as at the normal size.
        const double blank = QFontMetricsF(scaled.font).horizontalAdvance(QLatin1Char(' '));
        edit->setTabStopDistance(level_ == normalLevel
                                     ? scaled.tabStop
                                     : scaled.tabStop / blank *
                                           QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
    }
}

bool Zoom::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) {
        return QObject::eventFilter(watched, event);
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) {
        return QObject::eventFilter(watched, event);
    }
    // Touchpads send small steps: a notch's worth of them makes one step.
    wheelDelta_ += wheel->angleDelta().y();
    while (wheelDelta_ >= wheelNotch) {
        wheelDelta_ -= wheelNotch;
        zoomIn();
    }
    while (wheelDelta_ <= -wheelNotch) {
        wheelDelta_ += wheelNotch;
        zoomOut();
    }
    wheel->accept();
    return true;
}

} // namespace casl
