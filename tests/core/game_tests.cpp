// Game flow: setting a game up, who moves first, how the turn and the move
// number go round, the finishing order with the winners display, and what
// ending a game leaves behind.
#include "test_table.h"

#include "core/strongsearch.h"

#include <algorithm>

using namespace vexel;
using namespace vexel::testing;

namespace {

constexpr auto H = PlayerKind::Human;
constexpr auto C = PlayerKind::Computer;

std::vector<int> range(int first, int last) {
    std::vector<int> v;
    for (int c = first; c <= last; ++c) v.push_back(c);
    return v;
}

// Seats 0, 2 and 4 with fifteen pegs; seat 2 is one step (57 -> 56) from its target.
const std::vector<int> SEAT0_AWAY = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 27, 28};
const std::vector<int> SEAT2_ONE_STEP_FROM_HOME = {10, 11, 23, 12, 24, 35, 13, 25, 36, 46, 14, 26, 37, 47, 57};
const std::vector<int> SEAT2_HOME = {10, 11, 23, 12, 24, 35, 13, 25, 36, 46, 14, 26, 37, 47, 56};
const std::vector<int> SEAT4_AWAY = {98, 86, 99, 75, 87, 100, 65, 76, 88, 101, 66, 77, 89, 67, 78};
// Seat 4 one step (63 -> 64) from its target.
const std::vector<int> SEAT4_ONE_STEP_FROM_HOME = {22, 21, 34, 20, 33, 45, 19, 32, 44, 55, 18, 31, 43, 54, 63};

// Two seats: seat 3 one step (19 -> 18) from its target, seat 0 in the middle.
const std::vector<int> SEAT3_ONE_STEP_FROM_HOME = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 16, 17, 19};
const std::vector<int> SEAT0_MIDDLE = range(56, 70);

// Records whether "Continue" was offered each time the winners display showed.
struct WinnersWatch {
    std::vector<bool> continueOffered;
    void attach(TestTable& t, ModalResult answer) {
        t.view.answerWinners = [this, &t, answer] {
            const GameState& s = t.state();
            continueOffered.push_back(s.finishOrder[s.playingSeatCount() - 1] == NO_PEG);
            return answer;
        };
    }
};

}  // namespace

TEST(NewGame, FirstMoverIsTheFirstPlayingSeatAfterARandomSeat) {
    struct Case {
        std::vector<SeatSetup> seats;
        std::array<int, 6> firstMoverForDraw;  // indexed by the random seat 0..5
    };
    const Case cases[] = {
        {{{0, H}, {3, H}}, {3, 3, 3, 0, 0, 0}},
        {{{1, H}, {2, H}, {5, H}}, {1, 2, 5, 5, 5, 1}},
        {{{4, H}}, {4, 4, 4, 4, 4, 4}},
    };
    for (const Case& c : cases) {
        std::array<int, 6> drawsSeen{};
        for (std::uint64_t seed = 1; seed <= 120; ++seed) {
            Random probe(seed);
            const int draw = int(probe.below(6));
            ++drawsSeen[draw];
            TestTable t(c.seats, seed);
            t.game.newGame();
            EXPECT_EQ(t.state().currentPlayer, c.firstMoverForDraw[draw]) << "draw " << draw;
            EXPECT_EQ(t.state().startingPlayer, t.state().currentPlayer);
            EXPECT_EQ(t.state().moveNumber, 1);
        }
        for (int n : drawsSeen) EXPECT_GT(n, 0);
    }
}

TEST(NewGame, PegCountFollowsTheSeatsAndNeverMakesNeighboursShareAHole) {
    struct Case {
        std::vector<SeatSetup> seats;
        bool alwaysTen;
        int pegs;
    };
    const Case cases[] = {
        {{{4, H}}, false, 15},
        {{{0, H}, {3, C}}, false, 15},
        {{{0, H}, {3, C}}, true, 10},
        {{{0, C}, {2, C}, {4, H}}, false, 15},
        {{{1, H}, {3, H}, {5, H}}, true, 10},
        {{{0, H}, {1, H}, {3, H}, {4, H}}, false, 10},
        {{{0, H}, {1, C}, {2, C}, {3, C}, {4, C}, {5, C}}, false, 10},
        // Neighbouring seats share a border corner: only a foreign settings
        // file can ask for fifteen pegs there, and gets ten.
        {{{0, H}, {1, H}}, false, 10},
        {{{2, H}, {3, H}, {5, H}}, false, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.seats.size() << " seats, first " << c.seats[0].seat);
        TestTable t(c.seats, 7, c.alwaysTen);
        t.game.newGame();
        const GameState& s = t.state();
        ASSERT_TRUE(s.gameRunning);
        EXPECT_EQ(s.pegsPerPlayer, c.pegs);
        EXPECT_EQ(countInvariantViolations(s, s.players), 0);
        for (const SeatSetup& seat : c.seats)
            for (int k = 0; k < c.pegs; ++k) EXPECT_EQ(s.pegs[seat.seat][k].cell, START_CELLS[seat.seat][k]);
        EXPECT_EQ(std::count(s.finishOrder.begin(), s.finishOrder.end(), NO_PEG), 6);
        EXPECT_EQ(s.keyboardCursor, (std::array<CellIndex, 6>{60, 60, 60, 60, 60, 60}));
    }
}

TEST(NewGame, WithNoSeatPlayingNoGameStarts) {
    TestTable t({});
    t.game.newGame();
    EXPECT_FALSE(t.state().gameRunning);
    EXPECT_FALSE(t.state().computerToMove);
    EXPECT_EQ(t.view.boardDraws, 0);
    t.game.pressKey(CursorKey::Space);
    t.game.computerTurnStep();
    EXPECT_TRUE(cursorMarkedHoles(t.view).empty());

    t.settings.playerSettings[2].kind = PlayerKind::Human;
    t.game.newGame();
    EXPECT_TRUE(t.state().gameRunning);
    EXPECT_EQ(t.state().currentPlayer, 2);
}

TEST(NewGame, TheGameKeepsItsOwnCopyOfTheSeats) {
    TestTable t({{0, H}, {3, H}});
    t.startWithTurn(0);
    t.settings.playerSettings[3].kind = PlayerKind::NotPlaying;
    t.settings.playerSettings[1].kind = PlayerKind::Human;
    t.playAnyStep();
    EXPECT_EQ(t.state().currentPlayer, 3);
    EXPECT_EQ(t.state().players[1].kind, PlayerKind::NotPlaying);
}

TEST(Finishing, PlacesFollowTheOrderAndTheLastSeatIsPlacedAtOnce) {
    TestTable t({{0, H}, {2, H}, {4, H}});
    t.startWithTurn(2);
    ASSERT_EQ(t.state().pegsPerPlayer, 15);
    t.setPosition({{0, SEAT0_AWAY}, {2, SEAT2_ONE_STEP_FROM_HOME}, {4, SEAT4_AWAY}});
    WinnersWatch watch;
    watch.attach(t, ModalResult::Ok);

    t.playClicks({57, 56});
    const GameState& s = t.state();
    EXPECT_EQ(s.finishOrder, (std::array<Seat, 6>{2, NO_PEG, NO_PEG, NO_PEG, NO_PEG, NO_PEG}));
    EXPECT_TRUE(s.finished[2]);
    EXPECT_EQ(watch.continueOffered, std::vector<bool>{true});
    ASSERT_TRUE(s.gameRunning);
    EXPECT_EQ(s.currentPlayer, 4);

    t.setPosition({{0, SEAT0_AWAY}, {2, SEAT2_HOME}, {4, SEAT4_ONE_STEP_FROM_HOME}});
    watch.attach(t, ModalResult::Abort);
    t.playClicks({63, 64});
    EXPECT_EQ(s.finishOrder, (std::array<Seat, 6>{2, 4, 0, NO_PEG, NO_PEG, NO_PEG}));
    EXPECT_TRUE(s.finished[4]);
    EXPECT_FALSE(s.finished[0]);  // placed last without finishing
    EXPECT_EQ(watch.continueOffered, (std::vector<bool>{true, false}));
    EXPECT_FALSE(s.gameRunning);
    EXPECT_EQ(t.view.winnerListUpdates, 2);
}

// The autosave and the screen reader follow the game by these alone.
TEST(GameEvents, EachIsToldOnceWhenTheStateShowsIt) {
    using E = GameView::Event;
    TestTable t({{0, H}, {3, H}});
    t.game.newGame();
    EXPECT_EQ(t.view.events, std::vector<E>{E::GameStarted});
    t.view.events.clear();
    t.playAnyStep();
    t.playAnyStep();
    EXPECT_EQ(t.view.events, (std::vector<E>{E::MoveCommitted, E::TurnPassed, E::MoveCommitted, E::TurnPassed}));
    EXPECT_EQ(t.state().moveNumber, 2);
    t.view.events.clear();
    t.game.takeBack();
    t.game.endGame();
    EXPECT_EQ(t.view.events, (std::vector<E>{E::TakenBack, E::GameEnded}));

    TestTable three({{0, H}, {2, H}, {4, H}});
    three.startWithTurn(2);
    three.setPosition({{0, SEAT0_AWAY}, {2, SEAT2_ONE_STEP_FROM_HOME}, {4, SEAT4_AWAY}});
    three.view.events.clear();
    three.playClicks({57, 56});
    EXPECT_EQ(three.view.events, (std::vector<E>{E::MoveCommitted, E::SeatFinished, E::TurnPassed}));
}

TEST(Finishing, WinnersDisplayResultDecidesOnlyWhilePlacesAreFree) {
    struct Case {
        const char* name;
        ModalResult answer;
        bool placesLeft;  // three seats, first finish; else two seats, so every place is taken
        bool goesOn;
    };
    const Case cases[] = {
        {"continue", ModalResult::Ok, true, true},
        {"game over", ModalResult::Abort, true, false},
        {"close box", ModalResult::Cancel, true, true},
        {"no button", ModalResult::None, true, true},
        // With every place taken nobody is left to play for, whatever closed the display.
        {"game over, all placed", ModalResult::Abort, false, false},
        {"close box, all placed", ModalResult::Cancel, false, false},
        {"continue, all placed", ModalResult::Ok, false, false},
        {"no button, all placed", ModalResult::None, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TestTable> t;
        if (c.placesLeft) {
            t = std::make_unique<TestTable>(std::vector<SeatSetup>{{0, H}, {2, H}, {4, H}});
            t->startWithTurn(2);
            t->setPosition({{0, SEAT0_AWAY}, {2, SEAT2_ONE_STEP_FROM_HOME}, {4, SEAT4_AWAY}});
        } else {
            t = std::make_unique<TestTable>(std::vector<SeatSetup>{{0, H}, {3, H}});
            t->startWithTurn(3);
            t->setPosition({{0, SEAT0_MIDDLE}, {3, SEAT3_ONE_STEP_FROM_HOME}});
        }
        WinnersWatch watch;
        watch.attach(*t, c.answer);
        t->playClicks(c.placesLeft ? std::initializer_list<int>{57, 56} : std::initializer_list<int>{19, 18});
        EXPECT_EQ(watch.continueOffered, std::vector<bool>{c.placesLeft});
        EXPECT_EQ(t->state().gameRunning, c.goesOn);
        EXPECT_FALSE(t->state().moveInProgress);
        EXPECT_TRUE(markedHoles(t->view).empty());
        if (c.goesOn) {
            EXPECT_EQ(t->state().currentPlayer, 4);
        }
    }
}

TEST(Finishing, ASingleSeatEndsTheGameWhenItFinishes) {
    TestTable t({{3, H}});
    t.startWithTurn(3);
    t.setPosition({{3, SEAT3_ONE_STEP_FROM_HOME}});
    WinnersWatch watch;
    watch.attach(t, ModalResult::Ok);
    t.playClicks({19, 18});
    EXPECT_EQ(t.state().finishOrder[0], 3);
    EXPECT_EQ(watch.continueOffered, std::vector<bool>{false});
    EXPECT_FALSE(t.state().gameRunning);
}

TEST(Finishing, SoundFourPlaysOnlyWithSoundOn) {
    for (bool soundOn : {true, false}) {
        TestTable t({{0, H}, {2, H}, {4, H}});
        t.settings.soundOn = soundOn;
        t.startWithTurn(2);
        t.setPosition({{0, SEAT0_AWAY}, {2, SEAT2_ONE_STEP_FROM_HOME}, {4, SEAT4_AWAY}});
        t.playClicks({57, 56});
        EXPECT_EQ(t.view.sounds, soundOn ? std::vector<int>{4} : std::vector<int>{});
    }
}

TEST(Finishing, AFinishedStartingSeatLeavesTheCountToTheNextSeat) {
    TestTable t({{0, H}, {2, H}, {4, H}});
    t.startWithTurn(0);
    // One round: the turn comes back to the starting seat and the number grows.
    for (int i = 0; i < 3; ++i) t.playAnyStep();
    EXPECT_EQ(t.state().currentPlayer, 0);
    EXPECT_EQ(t.state().moveNumber, 2);

    // Seat 0 brings its last peg home (94 -> 106) and the others play on.
    t.setPosition({{0, {120, 119, 118, 117, 116, 115, 114, 113, 112, 111, 102, 103, 104, 105, 94}},
                   {2, {110, 97, 109, 85, 96, 108, 74, 84, 95, 107, 64, 73, 83, 72, 71}},
                   {4, SEAT4_AWAY}});
    t.playClicks({94, 106});
    ASSERT_TRUE(t.state().finished[0]);
    ASSERT_TRUE(t.state().gameRunning);
    // The round of move 2 ends with seat 4; from then on each round begins
    // with seat 2, the next seat after the first mover that still plays.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.state().currentPlayer, i % 2 == 0 ? 2 : 4);
        t.playAnyStep();
        EXPECT_EQ(t.state().moveNumber, 2 + (i + 1) / 2);
    }
}

TEST(EndGame, DiscardsAComputerTurnThatHasNotSearchedYet) {
    TestTable t({{0, C}, {3, H}}, 5);
    t.startWithTurn(0);
    t.game.startComputerTurn();
    t.game.endGame();
    EXPECT_FALSE(t.state().gameRunning);
    EXPECT_FALSE(t.state().computerToMove);
    t.game.computerTurnStep();  // a late idle call finds nothing to do
    EXPECT_EQ(t.state().movePathLength, 0);

    // The next game waits for its human, or starts its computer afresh.
    t.game.newGame();
    const GameState& s = t.state();
    EXPECT_EQ(s.computerToMove, s.currentPlayer == 0);
    EXPECT_EQ(s.computerPhase, 0);
    EXPECT_FALSE(s.moveInProgress);
}

TEST(EndGame, DiscardsAComputerMoveEnteredButNotCommitted) {
    TestTable t({{0, C}, {3, H}}, 1, true);
    t.startWithTurn(0);
    t.game.startComputerTurn();
    // The computer's move as its first phase enters it: a step, marked on the board.
    t.game.chooseHole(START_CELLS[0][9]);
    t.game.chooseHole(NEIGHBOURS[START_CELLS[0][9]][DownRight]);
    t.state().computerPhase = 1;
    ASSERT_EQ(markedHoles(t.view).size(), 2u);

    const auto occupancy = t.state().occupancy;
    t.game.endGame();
    EXPECT_FALSE(t.state().computerToMove);
    EXPECT_FALSE(t.state().moveInProgress);
    EXPECT_TRUE(markedHoles(t.view).empty());
    t.game.computerTurnStep();
    EXPECT_EQ(t.state().occupancy, occupancy);  // never committed
}

TEST(EndGame, DiscardsAMoveTheComputerHasSearchedAndEntered) {
    TestTable t({{0, C}, {3, H}});
    t.startWithTurn(0);
    t.game.startComputerTurn();
    const auto occupancy = t.state().occupancy;
    t.game.computerTurnStep();  // searches and enters, marked hole by hole
    ASSERT_EQ(t.state().computerPhase, 1);
    ASSERT_TRUE(t.game.moveReady());
    EXPECT_EQ(markedHoles(t.view).size(), t.state().movePathLength);

    t.game.endGame();
    EXPECT_FALSE(t.state().computerToMove);
    EXPECT_TRUE(t.game.computer().candidates().empty());
    EXPECT_TRUE(markedHoles(t.view).empty());
    t.game.computerTurnStep();
    EXPECT_FALSE(t.state().moveInProgress);
    EXPECT_EQ(t.state().occupancy, occupancy);
}

TEST(EndGame, DuringAMoveLeavesTheMovingPegOffTheBoardAndNoMarks) {
    for (bool midHop : {true, false}) {
        SCOPED_TRACE(midHop ? "during a hop" : "between hops");
        TestTable t({{0, H}, {3, H}});
        t.startWithTurn(0);
        t.setPosition({{0, {60}}, {3, {61, 72}}});
        t.game.pressKey(CursorKey::Up);
        for (int h : {60, 62, 83, 83}) t.game.clickHole(CellIndex(h));
        ASSERT_TRUE(t.state().moveInProgress);
        t.state().animStep = 1;
        t.state().stepAnimating = midHop;

        t.game.endGame();
        const GameState& s = t.state();
        EXPECT_FALSE(s.gameRunning);
        EXPECT_FALSE(s.moveInProgress);
        EXPECT_FALSE(s.stepAnimating);
        EXPECT_EQ(t.view.backgroundsDiscarded, midHop ? 1 : 0);
        EXPECT_EQ(s.occupancy[60], NO_PEG);
        EXPECT_EQ(s.occupancy[83], NO_PEG);
        EXPECT_EQ(std::count(s.occupancy.begin(), s.occupancy.end(), NO_PEG), CELL_COUNT - 2);
        // The path's marks went with the commit; stopping must not draw them back.
        EXPECT_TRUE(markedHoles(t.view).empty());
        EXPECT_TRUE(cursorMarkedHoles(t.view).empty());

        t.game.completeMove();  // the animation's last call comes too late
        EXPECT_EQ(s.occupancy[83], NO_PEG);
    }
}

TEST(EndGame, RemovesThePathAndTheCursorOfAMoveBeingEntered) {
    TestTable t({{0, H}, {3, H}});
    t.startWithTurn(0);
    t.game.pressKey(CursorKey::Right);
    t.game.chooseHole(9);
    t.game.chooseHole(18);
    t.game.endGame();
    EXPECT_TRUE(markedHoles(t.view).empty());
    EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
    t.game.endGame();  // no game: nothing to undo twice
    EXPECT_TRUE(markedHoles(t.view).empty());
    EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
}

TEST(ComputerTurn, ASeatWithoutALegalMovePassesAndNothingElseChanges) {
    TestTable t({{0, C}, {2, H}, {3, H}}, 1, true);
    t.startWithTurn(0);
    // Seat 0 stays home; the border line below its point and every landing
    // behind it are filled, so it has neither a step nor a jump.
    t.setPosition({{0, range(0, 9)},
                   {2, {30, 31, 110, 97, 109, 85, 96, 108, 74, 84}},
                   {3, {14, 15, 16, 17, 18, 26, 27, 28, 29, 120}}});
    const GameState& s = t.state();
    for (int k = 0; k < 10; ++k)
        for (int d = 0; d < DIRECTION_COUNT; ++d) {
            const CellIndex to = NEIGHBOURS[s.pegs[0][k].cell][d];
            const CellIndex landing = jumpLanding(s.pegs[0][k].cell, d);
            ASSERT_TRUE(to == NO_PEG || s.occupancy[to] != NO_PEG);
            ASSERT_TRUE(to == NO_PEG || landing == NO_PEG || s.occupancy[landing] != NO_PEG);
        }
    const auto occupancy = s.occupancy;
    const auto pegs = s.pegs;
    t.game.startComputerTurn();

    t.game.computerTurnStep();
    EXPECT_TRUE(s.gameRunning);
    EXPECT_FALSE(s.computerToMove);
    EXPECT_FALSE(s.moveInProgress);
    EXPECT_EQ(s.currentPlayer, 2);
    EXPECT_EQ(s.moveNumber, 1);
    EXPECT_EQ(s.occupancy, occupancy);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(s.pegs[0][k].cell, pegs[0][k].cell);
    EXPECT_TRUE(markedHoles(t.view).empty());
    EXPECT_EQ(countInvariantViolations(s, s.players), 0);

    // The game goes on: the humans move away from the block, and the stuck seat passes again.
    t.playClicks({74, 64});
    t.playClicks({120, 119});
    EXPECT_EQ(s.currentPlayer, 0);
    EXPECT_EQ(s.moveNumber, 2);
    t.game.computerTurnStep();
    EXPECT_EQ(s.currentPlayer, 2);
}

TEST(PassTurn, SkipsSeatsThatDoNotPlayOrHaveFinished) {
    TestTable t({{1, H}, {2, H}, {4, H}, {5, H}});
    t.startWithTurn(5);
    t.state().finished[2] = true;
    std::vector<int> order;
    for (int i = 0; i < 6; ++i) {
        t.game.passTurn();
        order.push_back(t.state().currentPlayer);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 4, 5, 1, 4, 5}));
    EXPECT_EQ(t.state().moveNumber, 3);
    EXPECT_EQ(t.view.playerName, "Spieler 6");
}

// ---- Take back and hint ---------------------------------------------------

namespace {

// Every field a take back returns to, one by one.
void expectSamePosition(const GameState& now, const GameState& then) {
    EXPECT_EQ(now.gameRunning, then.gameRunning);
    EXPECT_EQ(now.moveNumber, then.moveNumber);
    EXPECT_EQ(now.startingPlayer, then.startingPlayer);
    EXPECT_EQ(now.players, then.players);
    EXPECT_EQ(now.pegsPerPlayer, then.pegsPerPlayer);
    EXPECT_EQ(now.occupancy, then.occupancy);
    for (int seat = 0; seat < SEAT_COUNT; ++seat)
        for (int k = 0; k < MAX_PEGS; ++k) EXPECT_EQ(now.pegs[seat][k].cell, then.pegs[seat][k].cell) << seat << "/" << k;
    EXPECT_EQ(now.currentPlayer, then.currentPlayer);
    EXPECT_EQ(now.finished, then.finished);
    EXPECT_EQ(now.finishOrder, then.finishOrder);
    EXPECT_EQ(now.producedPositions.keys, then.producedPositions.keys) << "the computers' memory of the game";
    EXPECT_EQ(now.movePathLength, 0);
    EXPECT_FALSE(now.stepMade);
    EXPECT_FALSE(now.moveInProgress);
    EXPECT_FALSE(now.stepAnimating);
    EXPECT_FALSE(now.computerToMove);
    EXPECT_EQ(now.keyboardCursor, then.keyboardCursor);
    EXPECT_FALSE(now.keyboardCursorShown);
    EXPECT_EQ(now.nextVerticalLeft, then.nextVerticalLeft);
}

// One whole computer turn on the headless view: search and entry, commit, completion.
void playComputerTurn(TestTable& t) {
    t.game.computerTurnStep();
    t.game.computerTurnStep();
    ASSERT_TRUE(t.state().moveInProgress);
    t.game.completeMove();
}

}  // namespace

TEST(TakeBack, ReturnsToEachHumanMoveInTurnAcrossComputerMovesAndAFinish) {
    TestTable t({{0, H}, {2, C}, {4, H}});
    t.startWithTurn(0);
    t.setPosition({{0, SEAT0_AWAY}, {2, SEAT2_ONE_STEP_FROM_HOME}, {4, SEAT4_AWAY}});
    EXPECT_FALSE(t.game.canTakeBack()) << "no human move made yet";
    const GameState first = t.state();

    t.playAnyStep();  // seat 0
    ASSERT_TRUE(t.state().computerToMove);
    playComputerTurn(t);  // seat 2 brings its last peg home and the game goes on
    ASSERT_TRUE(t.state().finished[2]);
    ASSERT_EQ(t.state().currentPlayer, 4);
    ASSERT_FALSE(t.state().producedPositions.keys[2].empty());
    const GameState second = t.state();
    t.playAnyStep();  // seat 4
    ASSERT_EQ(t.state().currentPlayer, 0);
    ASSERT_EQ(t.state().moveNumber, 2);
    t.game.pressKey(CursorKey::Up);

    const Random generator = t.random;
    const int listUpdates = t.view.winnerListUpdates;
    ASSERT_TRUE(t.game.canTakeBack());
    t.game.takeBack();
    {
        SCOPED_TRACE("back to seat 4's move");
        expectSamePosition(t.state(), second);
    }
    EXPECT_TRUE(t.state().finished[2]);
    EXPECT_TRUE(t.game.canTakeBack());
    t.game.takeBack();
    {
        SCOPED_TRACE("back to seat 0's move, before the finish");
        expectSamePosition(t.state(), first);
    }
    EXPECT_EQ(std::count(t.state().finishOrder.begin(), t.state().finishOrder.end(), NO_PEG), 6);
    EXPECT_GT(t.view.winnerListUpdates, listUpdates) << "the winners display forgets the undone finish";
    EXPECT_EQ(t.view.playerName, "Spieler 1");
    EXPECT_TRUE(markedHoles(t.view).empty());
    EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
    EXPECT_EQ(countInvariantViolations(t.state(), t.state().players), 0);
    Random untouched = generator;
    EXPECT_EQ(t.random.below(1u << 30), untouched.below(1u << 30)) << "the computers draw on where they were";

    EXPECT_FALSE(t.game.canTakeBack()) << "down to the game's start";
    t.game.takeBack();
    expectSamePosition(t.state(), first);

    // The game goes on from there, and ending it forgets the history.
    t.playAnyStep();
    EXPECT_TRUE(t.game.canTakeBack());
    t.game.endGame();
    EXPECT_FALSE(t.game.canTakeBack());
}

TEST(TakeBack, StopsWhateverRunsCleanlyFirst) {
    enum Moment { MidHop, BetweenHops, ComputerToSearch, ComputerMarked, PathAndCursor, HintShown };
    const std::pair<Moment, const char*> moments[] = {
        {MidHop, "a hop on the screen"},
        {BetweenHops, "between two hops"},
        {ComputerToSearch, "the computer yet to search"},
        {ComputerMarked, "the computer's move marked, not committed"},
        {PathAndCursor, "a path and the cursor of the next turn"},
        {HintShown, "a hint on the board"},
    };
    for (const auto& [moment, name] : moments) {
        SCOPED_TRACE(name);
        TestTable t({{0, H}, {3, C}}, 3, true);
        t.startWithTurn(0);
        // Seat 0's peg on 60 can jump over 61 onto 62 and on over 72 onto 83.
        t.setPosition({{0, {60, 0, 1, 2, 3, 4, 5, 6, 7, 8}}, {3, {61, 72, 113, 114, 115, 116, 117, 118, 119, 120}}});
        const GameState before = t.state();

        for (int h : {60, 62, 83, 83}) t.game.clickHole(CellIndex(h));
        ASSERT_TRUE(t.state().moveInProgress);
        ASSERT_EQ(t.state().movePathLength, 2) << "two hops";
        if (moment == MidHop || moment == BetweenHops) {
            t.state().animStep = moment == MidHop ? 2 : 1;
            t.state().stepAnimating = moment == MidHop;
        } else {
            t.game.completeMove();
            ASSERT_TRUE(t.state().computerToMove);
            if (moment != ComputerToSearch) t.game.computerTurnStep();
            if (moment == PathAndCursor || moment == HintShown) {
                t.game.computerTurnStep();
                t.game.completeMove();
                ASSERT_EQ(t.state().currentPlayer, 0);
                t.game.pressKey(CursorKey::Left);
                t.game.clickHole(0);
                if (moment == HintShown) t.game.showHint();
            }
            if (moment != ComputerToSearch) {
                ASSERT_FALSE(markedHoles(t.view).empty());
            }
        }

        t.game.takeBack();
        expectSamePosition(t.state(), before);
        EXPECT_TRUE(markedHoles(t.view).empty());
        EXPECT_TRUE(cursorMarkedHoles(t.view).empty());
        EXPECT_EQ(t.view.backgroundsDiscarded, moment == MidHop ? 1 : 0);
        EXPECT_TRUE(t.game.computer().candidates().empty());
        EXPECT_TRUE(t.game.hintHoles().empty());
        // Late calls of what was stopped find nothing to carry on.
        t.game.completeMove();
        t.game.computerTurnStep();
        expectSamePosition(t.state(), before);
        EXPECT_TRUE(markedHoles(t.view).empty());
    }
}

TEST(Hint, IsTheStrongestLevelsChoiceKeepsTheSelectionAndDrawsNothingFromTheGenerator) {
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        // The same game twice: in one the human asks for a hint, in the other
        // the strongest computer level plays the seat.
        TestTable human({{0, H}, {3, C}}, seed);
        TestTable reference({{0, H}, {3, C}}, seed);
        for (TestTable* t : {&human, &reference}) {
            t->settings.playerSettings[0].level = 2;
            t->startWithTurn(0);
            for (std::uint64_t round = 0; round < seed % 4; ++round) {
                t->playAnyStep();
                playComputerTurn(*t);
            }
        }
        ASSERT_EQ(human.state().occupancy, reference.state().occupancy);
        ASSERT_EQ(human.state().currentPlayer, 0);

        const CellIndex selected = human.state().pegs[0][0].cell;
        human.game.clickHole(selected);
        const Random generator = human.random;
        ASSERT_TRUE(human.game.canShowHint());
        human.game.showHint();

        reference.state().players[0].kind = PlayerKind::Computer;
        reference.settings.playerSettings[0].level = STRONG_LEVEL;
        reference.game.startComputerTurn();
        EXPECT_FALSE(reference.game.canShowHint()) << "not in a computer's turn";
        reference.game.computerTurnStep();

        const std::vector<int> hint(human.game.hintHoles().begin(), human.game.hintHoles().end());
        ASSERT_GE(hint.size(), 2u);
        EXPECT_EQ(hint, pathHoles(reference.state()));
        std::vector<int> sorted = hint;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(hintMarkedHoles(human.view), sorted);
        // The selection stays, marked as a path, and nothing is committed.
        EXPECT_EQ(pathHoles(human.state()), std::vector<int>{selected});
        EXPECT_EQ(markedHoles(human.view), std::vector<int>{selected});
        EXPECT_FALSE(human.state().moveInProgress);
        Random untouched = generator;
        EXPECT_EQ(human.random.below(1u << 30), untouched.below(1u << 30));

        // Select the hinted peg (the click takes the hint off), ask again, and
        // enter the hinted landing: the selection took it.
        human.game.clickHole(CellIndex(hint[0]));
        EXPECT_TRUE(hintMarkedHoles(human.view).empty());
        human.game.showHint();
        EXPECT_EQ(human.game.hintHoles().size(), hint.size());
        human.game.clickHole(CellIndex(hint[1]));
        EXPECT_EQ(pathHoles(human.state()), (std::vector<int>{hint[0], hint[1]}));
        EXPECT_EQ(markedHoles(human.view), pathHoles(human.state()).front() < hint[1]
                                               ? (std::vector<int>{hint[0], hint[1]})
                                               : (std::vector<int>{hint[1], hint[0]}));
        EXPECT_TRUE(hintMarkedHoles(human.view).empty());
    }
}

// A window that searches the strongest level on a thread of its own: the game
// waits for the move, enters it as its own search would, and refuses a move
// found for a turn that is gone.
TEST(ComputerTurn, TheStrongestLevelsMoveFoundOutsideIsEnteredAsFoundInside) {
    for (std::uint64_t seed = 1; seed <= 2; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        TestTable inside({{0, C}, {3, C}}, seed);
        TestTable outside({{0, C}, {3, C}}, seed);
        for (TestTable* t : {&inside, &outside}) {
            t->settings.playerSettings[0].level = STRONG_LEVEL;
            t->settings.playerSettings[3].level = 1;
        }
        outside.game.setOutsideSearch(true);
        inside.game.newGame();
        outside.game.newGame();
        for (int move = 0; move < 8; ++move) {
            const bool strong = outside.state().currentPlayer == 0;
            ASSERT_EQ(outside.game.wantsOutsideSearch(), strong);
            if (strong) {
                const auto before = outside.state().occupancy;
                outside.game.computerTurnStep();  // waits for the move from outside
                EXPECT_EQ(outside.state().movePathLength, 0);
                std::vector<CandidateMove> ranked;
                ASSERT_TRUE(searchStrongMove(outside.state(), outside.settings, ranked));
                outside.game.enterSearchedMove(outside.game.searchTicket() + 1, ranked);  // another turn's
                EXPECT_EQ(outside.state().movePathLength, 0);
                outside.game.enterSearchedMove(outside.game.searchTicket(), ranked);
                EXPECT_EQ(outside.state().occupancy, before);
                EXPECT_FALSE(outside.game.wantsOutsideSearch());
                outside.game.computerTurnStep();
                ASSERT_TRUE(outside.state().moveInProgress);
                outside.game.completeMove();
            } else {
                playComputerTurn(outside);
            }
            playComputerTurn(inside);
            ASSERT_EQ(outside.state().occupancy, inside.state().occupancy) << "move " << move;
        }
        EXPECT_EQ(outside.random.below(1u << 30), inside.random.below(1u << 30));

        // A move searched before the game ended is never entered, not even in the next game.
        TestTable ended({{0, C}, {3, C}}, seed);
        ended.settings.playerSettings[0].level = STRONG_LEVEL;
        ended.game.setOutsideSearch(true);
        ended.game.newGame();
        if (ended.state().currentPlayer != 0) playComputerTurn(ended);
        ASSERT_TRUE(ended.game.wantsOutsideSearch());
        const std::uint64_t ticket = ended.game.searchTicket();
        std::vector<CandidateMove> found;
        ASSERT_TRUE(searchStrongMove(ended.state(), ended.settings, found));
        ended.game.endGame();
        ended.game.newGame();
        ended.game.enterSearchedMove(ticket, found);
        EXPECT_EQ(ended.state().movePathLength, 0);
        EXPECT_TRUE(markedHoles(ended.view).empty());
    }
}
