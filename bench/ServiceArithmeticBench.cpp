// The arithmetic of one recalculation of the main window: it runs on every keystroke in the
// hire-date field, so it has to stay far below one screen frame.
#include "ServiceLength.h"
#include "Totals.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

// Periods as people type them: dd.mm.yyyy between 1960 and 2025, a few days to a few years long.
IntervalList RealisticPeriods(size_t count)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> year(1960, 2020);
    std::uniform_int_distribution<int> month(1, 12);
    std::uniform_int_distribution<int> day(1, 28);
    std::uniform_int_distribution<int> span(0, 5);
    IntervalList periods;
    periods.reserve(count);
    char from[16];
    char to[16];
    for (size_t i = 0; i < count; ++i) {
        const int startYear = year(random);
        std::snprintf(from, sizeof from, "%02d.%02d.%04d", day(random), month(random), startYear);
        std::snprintf(to, sizeof to, "%02d.%02d.%04d", day(random), month(random), startYear + span(random));
        periods.emplace_back("\xC7\xE0\xE2\xEE\xE4", MDate(from), MDate(to));
    }
    return periods;
}

void BM_Recalculation(benchmark::State& state)
{
    const IntervalList periods = RealisticPeriods(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ServiceLength total;
        for (const Interval& period : periods)
            AddLength(total, IntervalLength(period.from, period.to));
        AnsiString text = LengthText(total);
        std::optional<AnsiString> date = UnbrokenServiceDate("15.06.2020", total);
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(date);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Recalculation)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond)->Complexity();

// The reads no recalculation can avoid: both dates of every period, as IntervalLength takes
// them. Against it, the growth of a recalculation from 10k to 100k periods shows what is the
// arithmetic's and what is the memory's (10k periods fit the processor's cache, 100k do not).
void BM_ReadPeriodDates(benchmark::State& state)
{
    const IntervalList periods = RealisticPeriods(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        uint32_t sum = 0;
        for (const Interval& period : periods) {
            const MDate from = period.from;
            const MDate to = period.to;
            sum += from.day + to.day + static_cast<uint32_t>(from.text.size() + to.text.size());
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadPeriodDates)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

} // namespace
