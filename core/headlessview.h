// A game view without a screen, for tests and tools: it keeps the marks that
// are on the "board", counts sounds and answers the winners display by a rule.
// Its clock is simulated: waiting moves it forward at once.
#pragma once

#include "gameview.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace vexel {

class HeadlessView : public GameView {
public:
    void drawBoard() override { ++boardDraws; }
    void drawPlayerPeg(Seat, int) override { ++pegDraws; }
    void toggleHoleMark(CellIndex cell) override { holeMarks[cell] = !holeMarks[cell]; }
    void toggleCursorMark(CellIndex cell) override { cursorMarks[cell] = !cursorMarks[cell]; }
    void toggleHintMark(CellIndex cell) override { hintMarks[cell] = !hintMarks[cell]; }
    void discardMovingBackground() override { ++backgroundsDiscarded; }
    void drawTurnPanel() override { ++turnPanelDraws; }
    void showPlayerName(std::string_view name) override { playerName.assign(name); }
    void showMoveNumber() override { ++moveNumberShows; }
    void playSound(int sound) override { sounds.push_back(sound); }
    void updateWinnerList() override { ++winnerListUpdates; }
    ModalResult showWinners() override { ++winnerShows; return answerWinners ? answerWinners() : ModalResult::Ok; }
    std::uint32_t tickCount() override { return clock; }
    void waitUntil(std::uint32_t tick) override {
        waits.push_back(tick);
        if (!tickReached(clock, tick)) clock = tick;
    }
    void gameEvent(Event event) override { events.push_back(event); }

    int markedHoleCount() const;

    std::array<bool, 121> holeMarks{};
    std::array<bool, 121> cursorMarks{};
    std::array<bool, 121> hintMarks{};
    std::vector<int> sounds;
    std::vector<std::uint32_t> waits;
    std::vector<Event> events;
    std::string playerName;
    std::function<ModalResult()> answerWinners;
    std::uint32_t clock = 1000;
    int boardDraws = 0, pegDraws = 0, backgroundsDiscarded = 0, turnPanelDraws = 0;
    int moveNumberShows = 0, winnerListUpdates = 0, winnerShows = 0;
};

}  // namespace vexel
