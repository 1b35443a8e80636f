// The folder of the program file, as the bytes the system gives for it, so
// that the files beside the program are found whatever the folder is called:
// a name that is not valid in the user's character set cannot be carried
// through a QString and back.
#pragma once

#include <filesystem>

namespace vexel {

// From the link /proc/self/exe; where that cannot be read, from what Qt reports.
std::filesystem::path programFolder();

}  // namespace vexel
