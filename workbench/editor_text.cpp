#include "workbench/editor_text.h"

namespace casl {

std::u32string editorTextFromWidget(std::u32string_view widgetText) {
    std::u32string text;
    text.reserve(widgetText.size() + widgetText.size() / 16);
    for (const char32_t c : widgetText) {
        if (c == U'\n') {
            text += U'\r';
        }
        text += c;
    }
    return text;
}

std::u32string widgetTextFromEditor(std::u32string_view editorText) {
    std::u32string text;
    text.reserve(editorText.size());
    for (std::size_t i = 0; i < editorText.size(); ++i) {
        const char32_t c = editorText[i];
        if (c == U'\r') {
            text += U'\n';
            if (i + 1 < editorText.size() && editorText[i + 1] == U'\n') {
                ++i;
            }
        } else {
            text += c;
        }
    }
    return text;
}

std::u32string editorTextOf(std::u32string_view text) {
    return editorTextFromWidget(widgetTextFromEditor(text));
}

} // namespace casl
