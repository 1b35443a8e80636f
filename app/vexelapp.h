// The whole program as one object: the live settings and their file, the
// sounds, the main window and the dialogs, created in the order the program
// starts them. main() builds one; window tests build their own.
#pragma once

#include "core/settings.h"
#include "settings/settingsfile.h"
#include "ui/sound.h"
#include "ui/Vexmain.h"

#include <filesystem>
#include <memory>

namespace vexel {

class VexelApp {
public:
    // `folder` holds SOUNDS.IDX, SOUNDS.DAT and the help pages (normally the
    // program's folder, programfolder.h), and VEXEL.CFG too unless the folder
    // is read-only (settingslocation.h).
    VexelApp(const std::filesystem::path& folder, std::uint64_t seed);
    ~VexelApp();

    Settings settings;
    SettingsFile settingsFile;
    SoundPlayer sound;
    std::unique_ptr<TMainWindow> window;
    Dialogs dialogs;
};

}  // namespace vexel
