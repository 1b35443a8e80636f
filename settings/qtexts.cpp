#include "qtexts.h"

#include "texts.h"

namespace vexel {

QString text(const Settings& settings, std::uint16_t id) {
    const std::string_view utf8 = lookupText(settings.language, id);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

bool hasTextTable(const Settings& settings) { return !textTable(settings.language).empty(); }

}  // namespace vexel
