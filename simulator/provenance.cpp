#include "simulator/provenance.h"

namespace casl {

Writer Provenance::of(ValuePlace place) const {
    const auto pick = [&place](const auto& writers) {
        return place.index >= 0 && static_cast<std::size_t>(place.index) < writers.size()
                   ? writers[static_cast<std::size_t>(place.index)]
                   : Writer{};
    };
    switch (place.area) {
    case ValuePlace::Area::DataWord:
        return pick(dataWords_);
    case ValuePlace::Area::StackSlot:
        return pick(stackSlots_);
    case ValuePlace::Area::Machine:
        break;
    }
    return pick(machine_);
}

} // namespace casl
