// The network tests wait for what the event loop brings: sockets, D-Bus calls.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace vexel {

// Runs the event loop until `done` holds or `ms` have passed; says whether it holds.
template <class F> bool waitFor(F done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace vexel
