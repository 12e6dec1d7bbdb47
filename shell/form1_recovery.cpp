// Unsaved text kept in the recovery file, and offered back after a crash.

#include "shell/form1.h"

namespace casl {

void Form1::offerRecovery() {
    command([this] { model_.offerRecovery(); });
}

} // namespace casl
