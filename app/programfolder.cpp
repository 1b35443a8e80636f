#include "app/programfolder.h"

#include <QCoreApplication>
#include <QFile>

namespace vexel {

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.is_absolute() && program.has_parent_path()) return program.parent_path();
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

}  // namespace vexel
