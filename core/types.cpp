#include "types.h"

#include <algorithm>

namespace vexel {

void PlayerSlot::setName(std::string_view bytes) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), MAX_NAME);
    std::copy_n(bytes.begin(), n, name.begin());
    nameLength = std::uint8_t(n);
}

}  // namespace vexel
