#include "vexelapp.h"

#include "settings/Vexfehlr.h"
#include "settings/Vexinfo.h"
#include "settings/Vexopti2.h"
#include "settings/Vexoptio.h"
#include "settings/Vexsieg.h"
#include "settings/Vexspeed.h"
#include "ui/help.h"

namespace vexel {

VexelApp::VexelApp(const std::filesystem::path& folder, std::uint64_t seed)
    : settingsFile(locateSettings(folder)) {
    setHelpFolder(folder);
    // The window loads the settings first, then the sounds.
    window = std::make_unique<TMainWindow>(settings, settingsFile, sound, folder, seed);
    TMainWindow* main = window.get();
    auto help = [main](int context) { main->showHelp(context); };
    // Created once, in this order, after the main window; each refills itself
    // whenever it is shown. The players dialog gets its level dialog once that exists.
    dialogs.about = new TAboutBox(settings, main);
    dialogs.players = new TOptionenDlg(settings, help, main);
    WindowSizing sizing{[main] { return main->maxSizeUnit(); }, [main] { return main->sizeUnit(); },
                        [main](int u) { main->applySizeUnit(u, true); }};
    dialogs.environment = new TEnvironDlg(settings, sizing, help, main);
    dialogs.error = new TFehlerWin(main);
    dialogs.level = new TCompLevelDlg(settings, main);
    dialogs.winners = new TSiegerAnzeige(settings, main->game().state(), main);
    dialogs.players->setLevelDialog(*dialogs.level);
    window->attachDialogs(dialogs);
}

VexelApp::~VexelApp() = default;

}  // namespace vexel
