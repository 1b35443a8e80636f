#include "vexelapp.h"

#include "settings/Vexfehlr.h"
#include "settings/Vexinfo.h"
#include "settings/Vexopti2.h"
#include "settings/Vexoptio.h"
#include "settings/Vexsieg.h"
#include "settings/Vexspeed.h"
#include "ui/soundfile.h"

namespace vexel {

VexelApp::VexelApp(const std::filesystem::path& folder, std::uint64_t seed)
    : settingsFile(locateSettings(folder)), sound(loadSoundFiles(folder)) {
    window = std::make_unique<TMainWindow>(settings, settingsFile, sound, seed);
    TMainWindow* main = window.get();
    auto help = [main](int context) { main->showHelp(context); };
    // Created once, in the order the program has always created them; each
    // refills itself whenever it is shown.
    dialogs.about = new TAboutBox(settings, main);
    dialogs.level = new TCompLevelDlg(settings, main);
    dialogs.players = new TOptionenDlg(settings, *dialogs.level, help, main);
    WindowSizing sizing{[main] { return main->maxSizeUnit(); }, [main] { return main->sizeUnit(); },
                        [main](int u) { main->applySizeUnit(u, true); }};
    dialogs.environment = new TEnvironDlg(settings, sizing, help, main);
    dialogs.error = new TFehlerWin(main);
    dialogs.winners = new TSiegerAnzeige(settings, main->game().state(), main);
    window->attachDialogs(dialogs);
}

VexelApp::~VexelApp() = default;

}  // namespace vexel
