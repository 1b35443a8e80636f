// Thinker: runs the strongest level's search on a worker thread, so that the
// window keeps answering while it thinks. The worker searches copies of the
// game state and the settings taken when the search starts; nothing else is
// shared with it but its stop flag and the finished list, handed over under a
// lock. A finished search wakes the window's event loop with a queued call
// (ready()); a search that was stopped or replaced meanwhile is dropped, even
// when its wake-up call is already on its way.
#pragma once

#include "core/computer.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vexel {

class Thinker : public QObject {
    Q_OBJECT
public:
    // searchStrongMove's shape: every legal move in `ranked`, the chosen one
    // last; false when stopped or when there is no legal move.
    using Search = std::function<bool(const GameState&, const Settings&, std::vector<CandidateMove>&,
                                      const std::atomic<bool>* stop)>;

    explicit Thinker(QObject* parent = nullptr);
    ~Thinker() override;
    Thinker(const Thinker&) = delete;
    Thinker& operator=(const Thinker&) = delete;

    // The search to run; the strongest level's by default (tests hold the worker with their own).
    void setSearch(Search search) { search_ = std::move(search); }

    // Stops whatever runs and starts searching the move of state.currentPlayer.
    void start(const GameState& state, const Settings& settings);
    // Sets the stop flag, waits for the worker to return (a few milliseconds)
    // and drops its result. Harmless when nothing runs.
    void stop();

    // A search was started and has neither finished nor been stopped.
    bool busy() const { return busy_; }
    // The finished search's list (empty: no legal move), once; nothing while it still runs.
    std::optional<std::vector<CandidateMove>> takeResult();

signals:
    // The search started last has finished; its result waits in takeResult().
    void ready();
    // Sent by the worker as it finishes, queued to the window's thread, which
    // turns it into ready() if the result is still wanted. It carries nothing:
    // what crosses the threads goes through the lock.
    void workerFinished();

private:
    void deliver();

    Search search_;
    std::jthread worker_;
    std::atomic<bool> stop_{false};
    // Counts starts and stops; a result or a wake-up of an older count is stale.
    // Read and written on the window's thread only.
    std::uint64_t generation_ = 0;
    bool busy_ = false;

    std::mutex mutex_;  // guards the two below
    std::optional<std::vector<CandidateMove>> result_;
    std::uint64_t resultGeneration_ = 0;
};

}  // namespace vexel
