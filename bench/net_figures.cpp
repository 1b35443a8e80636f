// Figures of network games, measured over real TCP sockets on the loopback
// address: a host and joined programs, each with its own game, in one process
// and one event loop (the window's loop does the same work between paints).
// Every seat of the host's game is played by a joined program (seat 1 stays
// with a computer at the host when fewer than six join), whose moves are
// chosen by the weakest computer level on a copy of its game.
//
//   vexel-net-figures [GAMES [JOINERS]]   (defaults 3 and 5)
//
// Prints, per game and in total: moves, the bytes of a move's line, the time from a move's commit at the joined
// program that made it to its commit (the start of its first hop) at another
// joined program (median, 99th percentile, maximum), and whether every game
// ended with every seat placed on every program.
#include "core/game.h"
#include "core/headlessview.h"
#include "core/replay.h"
#include "net/client.h"
#include "net/hostserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace vexel;

namespace {

struct Program {
    Settings settings;
    HeadlessView view;
    Random random{7};
    Game game{settings, view, random};
};

// The weakest level's move for the seat to move, searched on a copy.
RecordMove chooseMove(const Game& game) {
    Program trial;
    trial.settings = game.settings();
    const Seat seat = game.state().currentPlayer;
    trial.settings.playerSettings[seat].kind = PlayerKind::Computer;
    trial.settings.playerSettings[seat].level = 2;
    trial.settings.computerSpeed = 0;
    trial.game.state() = game.state();
    trial.game.state().players[seat].kind = PlayerKind::Computer;
    trial.game.state().computerToMove = true;
    trial.game.state().computerPhase = 0;
    trial.game.computerTurnStep();
    RecordMove move{game.state().moveNumber, seat, {}, {}, {}};
    for (int i = 0; i < trial.game.state().movePathLength; ++i) move.holes.push_back(trial.game.state().movePath[i].cell);
    return move;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int games = argc > 1 ? std::atoi(argv[1]) : 3;
    const int joiners = std::clamp(argc > 2 ? std::atoi(argv[2]) : 5, 1, 6);
    std::vector<double> latencies;
    long long moves = 0, lineBytes = 0;
    int unfinished = 0;
    QElapsedTimer clock;
    clock.start();
    for (int g = 0; g < games; ++g) {
        Program host;
        host.random = Random(std::uint64_t(100 + g));
        host.settings.computerSpeed = host.settings.humanSpeed = 0;
        std::uint8_t network = 0;
        for (int k = 0; k < SEAT_COUNT; ++k) {
            const bool joined = k >= SEAT_COUNT - joiners;
            host.settings.playerSettings[k].kind = joined ? PlayerKind::Human : PlayerKind::Computer;
            host.settings.playerSettings[k].level = 2;
            if (joined) network |= std::uint8_t(1 << k);
        }
        host.game.setRemoteSeats(network);
        NetHost server;
        server.setCode("ACDEF3");
        server.setNetworkSeats(network);
        server.currentRecord = [&] { return writeRecord(recordOf(host.game, host.settings, {})); };
        server.listen(0);
        std::size_t sent = 0;
        auto broadcast = [&] {
            const auto& played = host.game.playedMoves();
            for (; sent < played.size(); ++sent) server.sendMove(int(sent), played[sent]);
        };
        QObject::connect(&server, &NetHost::moveArrived, [&](int, int index, const RecordMove& m) {
            if (std::size_t(index) == host.game.playedMoves().size() && host.game.playRemoteMove(m)) {
                broadcast();
                host.game.completeMove();
                broadcast();
            }
        });
        struct Joined {
            Program p;
            NetClient client;
            int seat = -1;
        };
        std::vector<std::unique_ptr<Joined>> all;
        std::vector<qint64> committedAt;  // by move index, at the program that made it
        for (int j = 0; j < joiners; ++j) {
            auto joined = std::make_unique<Joined>();
            Joined* me = joined.get();
            me->p.settings = host.settings;
            QObject::connect(&me->client, &NetClient::welcomedToSeat, [me](int seat) { me->seat = seat; });
            QObject::connect(&me->client, &NetClient::moveArrived, [&, me](int index, const RecordMove& m) {
                Game& game = me->p.game;
                if (std::size_t(index) != game.playedMoves().size()) return;
                if (!game.playRemoteMove(m)) return;
                if (std::size_t(index) < committedAt.size()) latencies.push_back(double(clock.nsecsElapsed() / 1000 - committedAt[index]) / 1000.0);
                game.completeMove();
            });
            me->client.join("127.0.0.1", server.port(), "ACDEF3", QStringLiteral("P%1").arg(j + 1), SEAT_COUNT - joiners + j);
            all.push_back(std::move(joined));
        }
        while (std::any_of(all.begin(), all.end(), [](auto& j) { return j->seat < 0; })) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        for (auto& j : all) j->p.game.setRemoteSeats(std::uint8_t(0x3F & ~(1 << j->seat)));
        // Every program starts from the host's first position: the same first mover.
        host.game.newGame();
        for (auto& j : all) {
            j->p.game.state() = host.game.state();
            j->p.game.state().computerToMove = false;
        }
        QElapsedTimer guard;
        guard.start();
        while (host.game.state().gameRunning && guard.elapsed() < 600000) {
            const Seat seat = host.game.state().currentPlayer;
            if (host.game.state().computerToMove) {
                host.game.computerTurnStep();
                host.game.computerTurnStep();
                broadcast();
                if (host.game.state().moveInProgress) host.game.completeMove();
                broadcast();
            } else {
                for (auto& j : all) {
                    Game& game = j->p.game;
                    if (j->seat != seat || !game.atRest() || game.state().currentPlayer != seat ||
                        game.playedMoves().size() != host.game.playedMoves().size())
                        continue;
                    const RecordMove m = chooseMove(game);
                    for (CellIndex h : m.holes) game.chooseHole(h);
                    game.commitMove();
                    const std::size_t index = game.playedMoves().size() - 1;
                    committedAt.resize(index + 1, 0);
                    committedAt[index] = clock.nsecsElapsed() / 1000;
                    j->client.sendMove(int(index), game.playedMoves().back());
                    game.completeMove();
                }
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        // Let the last moves arrive everywhere.
        QElapsedTimer tail;
        tail.start();
        while (tail.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const auto& order = host.game.state().finishOrder;
        bool complete = !host.game.state().gameRunning && std::count(order.begin(), order.end(), NO_PEG) == 0;
        for (auto& j : all) complete = complete && j->p.game.playedMoves() == host.game.playedMoves() && !j->p.game.state().gameRunning;
        if (!complete) ++unfinished;
        moves += (long long)host.game.playedMoves().size();
        for (std::size_t i = 0; i < host.game.playedMoves().size(); ++i)
            lineBytes += (long long)formatMessage({Message::Kind::Move, int(i), {}, {}, host.game.playedMoves()[i]}).size() + 1;
        std::printf("game %d: %zu moves, %s\n", g + 1, host.game.playedMoves().size(), complete ? "ended on every program" : "UNFINISHED");
        server.close();
    }
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) { return latencies.empty() ? 0.0 : latencies[std::min(latencies.size() - 1, std::size_t(q * double(latencies.size())))]; };
    std::printf("%d games, %d joined programs, %lld moves, %d unfinished\n", games, joiners, moves, unfinished);
    std::printf("commit at the mover to hop start at another program: median %.3f ms, p99 %.3f ms, max %.3f ms (%zu samples)\n",
                at(0.5), at(0.99), latencies.empty() ? 0.0 : latencies.back(), latencies.size());
    std::printf("a move is one line of %.1f bytes on average: from its player to the host, and from the host to each joined program\n",
                moves ? double(lineBytes) / double(moves) : 0.0);
    return unfinished == 0 ? 0 : 1;
}
