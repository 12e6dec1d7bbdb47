// The Assemble command and the listing window that shows its result.

#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/source_editor.h"

namespace casl {

Form2& Form1::ensureListingWindow() {
    if (!form2_) {
        form2_ = std::make_unique<Form2>(this);
        watchListingWindow(*form2_);
    }
    return *form2_;
}

void Form1::assembleProgram() {
    command([this] { model_.assemble(editorText()); });
}

} // namespace casl
