// The engine's per-tick work without any window: what each timer tick and each
// catch costs before Qt gets involved.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "game.h"
#include "score.h"

namespace {

using namespace moxel;

// Keeps what the engine shows in memory, starting where the main window does.
class MemoryView final : public GameView {
public:
    void setTimerInterval(TimerId, int) override {}
    void setTimerEnabled(TimerId, bool) override {}
    TargetRect target(int index) const override { return targets_.at(std::size_t(index)); }
    void setTargetLeft(int index, float left) override {
        targets_.at(std::size_t(index)).left = left;
    }
    void setTargetTop(int index, float top) override { targets_.at(std::size_t(index)).top = top; }
    void setClockText(ClockBox box, std::string_view text) override {
        texts_.at(std::size_t(box)) = text;
    }

private:
    std::array<TargetRect, 2> targets_{{{240, 2160, 525, 555}, {9840, 1560, 285, 195}}};
    std::array<std::string, 2> texts_;
};

void benchMotionStep(benchmark::State& state) {
    MemoryView view;
    Game game(view);
    game.resetDirections();
    for (auto _ : state)
        game.motionStep();
}

void benchClockTick(benchmark::State& state) {
    MemoryView view;
    Game game(view);
    for (auto _ : state)
        game.clockTick();
}

void benchComputeScore(benchmark::State& state) {
    for (auto _ : state) {
        GameState caught;
        caught.s1 = 2;
        caught.t1 = 57;
        caught.speed = 30;
        benchmark::DoNotOptimize(computeScore(caught));
    }
}

}  // namespace

BENCHMARK(benchMotionStep)->Name("motion_step");
BENCHMARK(benchClockTick)->Name("clock_tick");
BENCHMARK(benchComputeScore)->Name("compute_score");

BENCHMARK_MAIN();
