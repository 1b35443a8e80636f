// The thinking thread on its own: a search replaced or stopped in flight never
// hands in its list, even when its wake-up is already queued.
#include "ui/thinker.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace vexel;

namespace {

// Each search answers with one candidate whose value names the search; the
// first is held until released or stopped.
struct Searches {
    std::atomic<int> count{0};
    std::atomic<bool> releaseFirst{false};
    std::atomic<bool> firstSawStop{false};
};

Thinker::Search numbered(const std::shared_ptr<Searches>& searches) {
    return [searches](const GameState&, const Settings&, std::vector<CandidateMove>& ranked, const std::atomic<bool>* stop) {
        const int number = ++searches->count;
        if (number == 1) {
            while (!searches->releaseFirst.load() && !stop->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (stop->load()) {
                searches->firstSawStop = true;
                return false;
            }
        }
        ranked.assign(1, CandidateMove{});
        ranked[0].value = number;
        return true;
    };
}

template <class F>
bool runUntil(F done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

TEST(Thinker, OnlyTheSearchStartedLastIsHandedIn) {
    auto searches = std::make_shared<Searches>();
    Thinker thinker;
    thinker.setSearch(numbered(searches));
    int readies = 0;
    QObject::connect(&thinker, &Thinker::ready, [&] { ++readies; });
    const GameState state;
    const Settings settings;

    // Replaced while held: the first sees its stop and never answers.
    thinker.start(state, settings);
    ASSERT_TRUE(runUntil([&] { return searches->count == 1; }));
    EXPECT_FALSE(thinker.takeResult());
    thinker.start(state, settings);
    EXPECT_TRUE(searches->firstSawStop);
    ASSERT_TRUE(runUntil([&] { return readies == 1; }));
    EXPECT_FALSE(thinker.busy());
    auto result = thinker.takeResult();
    ASSERT_TRUE(result);
    ASSERT_EQ(result->size(), 1u);
    EXPECT_EQ(result->front().value, 2);
    EXPECT_FALSE(thinker.takeResult()) << "handed in once";

    // Finished, its wake-up queued, then stopped: neither the wake-up nor the list comes through.
    // The event loop does not run meanwhile, so the wake-up can only wait in the queue.
    thinker.start(state, settings);
    while (searches->count < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    thinker.stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(readies, 1);
    EXPECT_FALSE(thinker.takeResult());
    EXPECT_FALSE(thinker.busy());
}

}  // namespace
