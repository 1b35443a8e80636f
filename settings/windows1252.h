// Names are kept in the settings as Windows-1252 bytes (one byte a character);
// the dialogs work with QString. These two conversions are the only crossing.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vexel {

// Every byte becomes one character; the five bytes that Windows-1252 leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same number, so that they survive a round trip.
QString fromWindows1252(std::string_view bytes);

// One byte per character; a character without a Windows-1252 byte becomes '?'.
std::string toWindows1252(const QString& text);

}  // namespace vexel
