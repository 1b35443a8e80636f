#include "thinker.h"

#include "core/strongsearch.h"

namespace vexel {

Thinker::Thinker(QObject* parent)
    : QObject(parent),
      search_([](const GameState& state, const Settings& settings, std::vector<CandidateMove>& ranked,
                 const std::atomic<bool>* stop) { return searchStrongMove(state, settings, ranked, stop); }) {
    connect(this, &Thinker::workerFinished, this, &Thinker::deliver, Qt::QueuedConnection);
}

// The worker touches this object until it returns: it is stopped and joined first.
Thinker::~Thinker() { stop(); }

void Thinker::start(const GameState& state, const Settings& settings) {
    stop();
    const std::uint64_t generation = ++generation_;
    busy_ = true;
    stop_.store(false);
    // Copies: the game goes on changing its own state while the worker reads these.
    worker_ = std::jthread([this, generation, search = search_, state, settings] {
        std::vector<CandidateMove> ranked;
        const bool found = search(state, settings, ranked, &stop_);
        if (stop_.load()) return;
        if (!found) ranked.clear();
        {
            const std::lock_guard lock(mutex_);
            result_ = std::move(ranked);
            resultGeneration_ = generation;
        }
        emit workerFinished();
    });
}

void Thinker::stop() {
    stop_.store(true);
    if (worker_.joinable()) worker_.join();
    ++generation_;
    busy_ = false;
    const std::lock_guard lock(mutex_);
    result_.reset();
}

void Thinker::deliver() {
    {
        // A stopped or replaced search left nothing here, or the list of the one started since.
        const std::lock_guard lock(mutex_);
        if (!result_ || resultGeneration_ != generation_) return;
    }
    busy_ = false;
    emit ready();
}

std::optional<std::vector<CandidateMove>> Thinker::takeResult() {
    std::optional<std::vector<CandidateMove>> taken;
    {
        const std::lock_guard lock(mutex_);
        if (!result_ || resultGeneration_ != generation_) return std::nullopt;
        taken.swap(result_);
    }
    // The worker has nothing left to do but end.
    if (worker_.joinable()) worker_.join();
    return taken;
}

}  // namespace vexel
