#pragma once

#include <QWidget>
#include <functional>

namespace casl {

/// The splash window "Opening", shown while the workbench starts.
class Form3 : public QWidget {
    Q_OBJECT

public:
    Form3();

    /// Shows the splash for `milliseconds`, then closes it and calls `then`. The event loop
    /// keeps running meanwhile.
    void showFor(int milliseconds, std::function<void()> then);
};

/// How long the splash stays at start-up.
inline constexpr int splashMilliseconds = 3000;

} // namespace casl
