#include "evaluation.h"

namespace vexel {

const std::array<std::array<std::int32_t, CELL_COUNT>, SEAT_COUNT> SEAT_VALUES{};

}  // namespace vexel
