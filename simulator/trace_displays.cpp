#include "simulator/trace_displays.h"

namespace casl {

std::u32string TraceDisplays::registerRow(int index) const {
    return casl::registerRow(refreshed_.generalRegisters[static_cast<std::size_t>(index & 7)]);
}

std::u32string TraceDisplays::programRegister() const {
    return programRegisterCaption(captions_.programRegister);
}

std::u32string TraceDisplays::stackPointer() const {
    return stackPointerCaption(refreshed_.stackPointer);
}

std::u32string TraceDisplays::flags() const {
    return flagsCaption(refreshed_.overflowFlag, refreshed_.signZeroState);
}

std::u32string TraceDisplays::objectCode() const {
    if (captions_.objectCodeLine == 0) {
        return blankObjectCodeCaption();
    }
    return objectCodeCaption(tables_.lineCode[static_cast<std::size_t>(captions_.objectCodeLine)]);
}

std::u32string TraceDisplays::stackArea() const {
    return stackAreaText(refreshed_.stackBase, refreshed_.stackSlots.data(), refreshed_.stackTop);
}

std::u32string TraceDisplays::dataArea() const {
    return dataAreaText(tables_, refreshed_.simpleDisplay);
}

std::u32string TraceDisplays::markedListing() const {
    return listing_.text(markedLine());
}

std::u32string TraceDisplays::markedListingLine() const {
    return listing_.line(markedLine());
}

DisplayTexts TraceDisplays::texts() const {
    DisplayTexts texts;
    for (int i = 0; i < 8; ++i) {
        texts.registers[static_cast<std::size_t>(i)] = registerRow(i);
    }
    texts.pc = programRegister();
    texts.sp = stackPointer();
    texts.fr = flags();
    texts.obj = objectCode();
    texts.stackArea = stackArea();
    texts.dataArea = dataArea();
    texts.listing = markedListing();
    return texts;
}

} // namespace casl
