// Vexel: starts the main window and its dialogs and runs the event loop.
#include "app/programfolder.h"
#include "app/vexelapp.h"
#include "ui/gamerecordfiles.h"
#include "ui/netgame.h"
#include "ui/sound.h"

#include <QApplication>
#include <QTimer>

#include "core/protocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

int run(int argc, char** argv) {
    // Read before Qt takes its own options out: Qt would take --name for itself.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vexel");
    const auto seed = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    vexel::VexelApp vexel(vexel::programFolder(), seed);
    vexel.window->show();
    // `vexel --host [PORT]` opens a game for joining with the seats as they
    // are set; `vexel --join ADDRESS[:PORT] [--name NAME]` joins one. The join
    // code is VEXEL_JOIN_CODE's (meant for scripts and tests), else the host's new one.
    if (args.size() > 1 && (args[1] == "--host" || args[1] == "--join")) {
        vexel::NetGame* net = vexel.window->net();
        if (args[1] == "--host") {
            bool ok = true;
            const uint port = args.size() > 2 ? args[2].toUInt(&ok) : vexel::DEFAULT_PORT;
            if (!ok || port == 0 || port > 65535) {
                std::fprintf(stderr, "vexel: --host takes a port number 1..65535\n");
                return 2;
            }
            QTimer::singleShot(0, vexel.window.get(), [net, port] {
                if (!net->host(quint16(port))) std::fprintf(stderr, "vexel: cannot open port %u\n", port);
                else std::fprintf(stderr, "vexel: hosting on port %u, join code %s\n", port, qPrintable(net->code()));
            });
        } else {
            const QString address = args.value(2);
            const QString name = args.size() > 4 && args[3] == "--name" ? args[4] : QString();
            if (address.isEmpty() || address.startsWith("--")) {
                std::fprintf(stderr, "vexel: --join takes ADDRESS[:PORT] [--name NAME]\n");
                return 2;
            }
            QTimer::singleShot(0, vexel.window.get(), [net, address, name] {
                if (!net->join(address, name, {})) std::fprintf(stderr, "vexel: not an address: %s\n", qPrintable(address));
            });
        }
    } else if (argc > 1) {
        // `vexel FILE.vxg` (a double click on a record): the title picture first,
        // then the record. Qt has taken its own options out of argv by now; the
        // names stay the bytes the system gave, whatever their encoding.
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
