#pragma once

#include <functional>

namespace casl::platform::test {

/// How a child process ended.
struct ChildEnd {
    bool passed = false;   ///< It returned true.
    bool timedOut = false; ///< It was still running after its time and was killed.
};

/// Runs `body` in a forked child: a call that blocks for ever fails the test instead of hanging
/// it, and a child may give up privileges without affecting the test.
ChildEnd runInChild(const std::function<bool()>& body, unsigned seconds = 20);

} // namespace casl::platform::test
