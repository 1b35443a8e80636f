// Micro-benchmarks of the board drawing: the full repaint of a running game
// with six seats of ten pegs, one frame of a hop (restore the square under the
// peg, save the next one, draw the peg), the turn panel's star, and the copy
// of the whole surface that a widget paint makes. Run at level 5 with ratios
// 1 and 2, and at level 10 with ratio 1, which draws the same pixels as
// level 5 at ratio 2. The repaint and the hop frame run with the marks on the
// pegs off and on (the third argument), which must cost about the same.
#include "core/board.h"
#include "ui/boarddraw.h"
#include "ui/turnpanel.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace vexel;

namespace {

struct Game60 {
    GameState state;
    Settings settings;
    BoardDrawing drawing{state, settings};

    Game60(int level, double ratio, bool marks = false) {
        settings.pegMarks = marks;
        state.gameRunning = true;
        state.players = DEFAULT_PLAYERS;
        state.pegsPerPlayer = 10;
        for (int p = 0; p < SEAT_COUNT; ++p)
            for (int k = 0; k < 10; ++k) {
                state.pegs[p][k].cell = START_CELLS[p][k];
                state.occupancy[START_CELLS[p][k]] = Seat(p);
            }
        drawing.setSizeUnit(level, ratio);
        drawing.repaint();
    }
};

void BM_FullRepaint(benchmark::State& bench) {
    Game60 g(int(bench.range(0)), double(bench.range(1)), bench.range(2) != 0);
    for (auto _ : bench) {
        g.drawing.repaint();
        benchmark::DoNotOptimize(g.drawing.surface().constBits());
    }
}

// One frame of a hop from hole 60 towards hole 61: the peg's old square is put
// back and the square at its next place saved before the peg is drawn there.
void BM_AnimationFrame(benchmark::State& bench) {
    Game60 g(int(bench.range(0)), double(bench.range(1)), bench.range(2) != 0);
    const PegMark mark = pegMarkFor(g.settings, 0);
    const PixelPoint from = g.drawing.pixelPos(60);
    const int step = g.drawing.px(1);
    std::uint32_t slot = 0;
    PixelPoint last = from;
    g.drawing.savePegBackgroundAndDraw(last, g.settings.pegColours[0], slot, mark);
    int frame = 0;
    for (auto _ : bench) {
        g.drawing.restoreBackground(last, slot);
        last = {from.x + step * (frame % 12), from.y - step * (frame % 3)};
        g.drawing.savePegBackgroundAndDraw(last, g.settings.pegColours[0], slot, mark);
        ++frame;
    }
    g.drawing.restoreBackground(last, slot);
}

void BM_TurnPanelStar(benchmark::State& bench) {
    const int level = int(bench.range(0));
    const double ratio = double(bench.range(1));
    GameState state;
    state.gameRunning = true;
    state.players = DEFAULT_PLAYERS;
    Settings settings;
    QImage canvas(int(TURN_PANEL_WIDTH_UNITS * level * ratio), int(TURN_PANEL_HEIGHT_UNITS * level * ratio), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    for (auto _ : bench) {
        drawTurnPanel(canvas, level, state, settings);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

// What a paint of the whole board widget costs us: the surface copied once
// into a target of the same pixel size (the window's back buffer).
void BM_SurfaceCopy(benchmark::State& bench) {
    Game60 g(int(bench.range(0)), double(bench.range(1)));
    QImage target(g.drawing.surface().size(), QImage::Format_RGB32);
    for (auto _ : bench) {
        QPainter painter(&target);
        painter.drawImage(QPoint(0, 0), g.drawing.surface());
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

// {level, ratio}
#define LEVELS Args({5, 1})->Args({5, 2})->Args({10, 1})
// {level, ratio, marks on the pegs}
#define LEVELS_MARKS \
    Args({1, 1, 0})->Args({1, 1, 1})->Args({5, 1, 0})->Args({5, 1, 1})->Args({5, 2, 0})->Args({5, 2, 1})

BENCHMARK(BM_FullRepaint)->LEVELS_MARKS->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationFrame)->LEVELS_MARKS->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TurnPanelStar)->LEVELS->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SurfaceCopy)->LEVELS->Unit(benchmark::kMillisecond);

}  // namespace
