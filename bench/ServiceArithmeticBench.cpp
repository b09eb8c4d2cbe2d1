// The arithmetic of one recalculation of the main window, and the analysis of the same list by
// the insurance-service rule: both run on every keystroke in the hire-date field, so they have to
// stay far below one screen frame.
#include "Analysis.h"
#include "InsuranceLength.h"
#include "ServiceLength.h"
#include "Totals.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <utility>

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

// The reads no recalculation can avoid: the numbers of both dates of every period, as
// IntervalLength reads them. Against it, the growth of a recalculation from 10k to 100k periods
// shows what is the arithmetic's and what is the memory's (10k periods fit the processor's cache,
// 100k do not).
void BM_ReadPeriodDates(benchmark::State& state)
{
    const IntervalList periods = RealisticPeriods(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        uint32_t sum = 0;
        for (const Interval& period : periods)
            sum += period.from.day + period.from.month + period.from.year + period.to.day + period.to.month
                + period.to.year;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadPeriodDates)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// One working life, as long as asked: periods in calendar order, most starting the day after the
// one before ends, one in ten overlapping it by a few days, one in ten after a gap, and one in
// fifty listed before the one it follows, as a job remembered late is. The periods are short
// (a day to six weeks) so that 100k of them fit between 1900 and 9999.
IntervalList WorkingLife(size_t count)
{
    using namespace std::chrono;
    std::mt19937 random(20261213);
    std::uniform_int_distribution<int> length(0, 44);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> shift(1, 10);
    IntervalList periods;
    periods.reserve(count);
    sys_days start{year{1900} / 1 / 1};
    char from[16];
    char to[16];
    const auto text = [](char* buffer, sys_days day) {
        const year_month_day date{day};
        std::snprintf(buffer, 16, "%02u.%02u.%04d", static_cast<unsigned>(date.day()),
            static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    };
    for (size_t i = 0; i < count; ++i) {
        const sys_days end = start + days{length(random)};
        text(from, start);
        text(to, end);
        periods.emplace_back("\xD0\xE0\xE1\xEE\xF2\xE0", MDate(from), MDate(to)); // "Работа"
        if (i % 50 == 49)
            std::swap(periods[i], periods[i - 1]);
        const int k = kind(random);
        start = end + days{k == 0 ? -shift(random) : k == 1 ? 1 + 3 * shift(random) : 1};
    }
    return periods;
}

void BM_InsuranceTotal(benchmark::State& state)
{
    const IntervalList periods = WorkingLife(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ServiceLength total = InsuranceTotal(periods);
        benchmark::DoNotOptimize(total);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsuranceTotal)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond)->Complexity();

const CalendarDay AsOf{std::chrono::year{2026} / 12 / 11};

// A new analysis on every run, as a caller that keeps none gets it.
void BM_AnalysePeriods(benchmark::State& state)
{
    const IntervalList periods = WorkingLife(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        PeriodAnalysis analysis = AnalysePeriods(periods, "15.06.2020", AsOf);
        benchmark::DoNotOptimize(analysis);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AnalysePeriods)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond)->Complexity();

// One analysis renewed in place on every run, as a window that keeps it does on each keystroke.
void BM_AnalysePeriodsInPlace(benchmark::State& state, IntervalList (*makePeriods)(size_t))
{
    const IntervalList periods = makePeriods(static_cast<size_t>(state.range(0)));
    const std::vector<int32_t> thresholds{5, 8, 15};
    PeriodAnalysis analysis;
    for (auto _ : state) {
        AnalysePeriods(periods, "15.06.2020", AsOf, thresholds, analysis);
        benchmark::DoNotOptimize(analysis);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_AnalysePeriodsInPlace, WorkingLife, WorkingLife)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();
// The recalculation's own periods: thousands of years-long periods within sixty years, so every
// period shares days with thousands of others. No working life looks like this; it shows the
// bound that listing at most MaxListedOverlaps per period keeps.
BENCHMARK_CAPTURE(BM_AnalysePeriodsInPlace, Crowded, RealisticPeriods)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
