// Vexel: starts the main window and its dialogs and runs the event loop.
#include "app/vexelapp.h"

#include <QApplication>

#include <chrono>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vexel");
    const auto seed = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    vexel::VexelApp vexel(QCoreApplication::applicationDirPath().toStdString(), seed);
    vexel.window->show();
    return QApplication::exec();
}
