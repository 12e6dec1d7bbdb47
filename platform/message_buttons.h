#pragma once

namespace casl {

/// The buttons a message box offers; the first is the default.
enum class MessageButtons { Ok, YesNo };
/// The button that closed a message box.
enum class MessageAnswer { Ok, Yes, No };

} // namespace casl
