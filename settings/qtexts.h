// The text tables at the Qt boundary: captions as QString in the language of
// the live settings.
#pragma once

#include <QString>

#include <cstdint>

#include "core/settings.h"

namespace vexel {

// The text of `id` in the current language; empty when the id is unknown.
QString text(const Settings& settings, std::uint16_t id);

// False for a language byte that names no table: captions are then left as
// they were rather than blanked.
bool hasTextTable(const Settings& settings);

}  // namespace vexel
