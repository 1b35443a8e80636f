// Vexel: starts the main window and its dialogs and runs the event loop.
#include "app/programfolder.h"
#include "app/vexelapp.h"
#include "ui/gamerecordfiles.h"
#include "ui/sound.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

int run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vexel");
    const auto seed = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    vexel::VexelApp vexel(vexel::programFolder(), seed);
    vexel.window->show();
    // `vexel FILE.vxg` (a double click on a record): the title picture first,
    // then the record. Qt has taken its own options out of argv by now; the
    // names stay the bytes the system gave, whatever their encoding.
    if (argc > 1) {
        std::vector<std::string> files(argv + 1, argv + argc);
        QTimer::singleShot(0, vexel.window.get(), [&vexel, files] { vexel.window->records()->openFromCommandLine(files); });
    }
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    const int result = run(argc, argv);
    // The window is gone and nothing is left to save; only Qt Multimedia's
    // clean-up would still wait for an audio server that does not answer.
    if (vexel::SoundPlayer::audioThreadLeftBehind()) {
        std::fflush(nullptr);
        std::_Exit(result);
    }
    return result;
}
