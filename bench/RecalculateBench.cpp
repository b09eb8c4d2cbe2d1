// Recalculate runs on every keystroke in the hire-date field, so it must rebuild the period
// list and the read-outs of a long working list within one 60 Hz frame.
//
// The working list is filled the way a user fills it from a saved record: the window loads a
// generated data file with one record of N periods, and a double click on its line opens it.
// "@" (UnbrokenDateUpdateButtonClick) then does nothing but Recalculate.
//
// Recalculate ends with the insurance read-outs, which analyse the whole list (overlaps, gaps,
// the current job). Two lists: the spread one whose periods all share the years around 2000,
// and a career of consecutive jobs with short gaps where every tenth job overlaps the one before.

#include "Analysis.h"
#include "BenchData.h"
#include "Dateinterval.h"

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

enum class Shape { Spread, Career };

// The periods of the benchmark list as a record's text: "Период 1,dd.mm.yyyy,dd.mm.yyyy&"...
std::string PeriodsText(Shape shape, int64_t count)
{
    using namespace std::chrono;
    std::string text;
    sys_days start = sys_days{year{1200} / January / 1};
    for (int64_t i = 0; i < count; ++i) {
        char period[64];
        if (shape == Shape::Spread) {
            std::snprintf(period, sizeof period, "\xCF\xE5\xF0\xE8\xEE\xE4 %lld,%02d.%02d.%04d,%02d.%02d.%04d&",
                static_cast<long long>(i + 1), static_cast<int>(i % 28 + 1), static_cast<int>(i % 12 + 1),
                static_cast<int>(1950 + i % 50), static_cast<int>((i + 7) % 28 + 1), static_cast<int>((i + 5) % 12 + 1),
                static_cast<int>(2000 + i % 20));
        } else {
            // 20 to 60 days of work, then 0 to 6 days off; every tenth job starts 5 days early.
            if (i % 10 == 9)
                start -= days{5};
            const sys_days end = start + days{20 + i * 7 % 41};
            const year_month_day from{start};
            const year_month_day to{end};
            std::snprintf(period, sizeof period, "\xCF\xE5\xF0\xE8\xEE\xE4 %lld,%02u.%02u.%04d,%02u.%02u.%04d&",
                static_cast<long long>(i + 1), static_cast<unsigned>(from.day()), static_cast<unsigned>(from.month()),
                static_cast<int>(from.year()), static_cast<unsigned>(to.day()), static_cast<unsigned>(to.month()),
                static_cast<int>(to.year()));
            start = end + days{1 + i % 7};
        }
        text += period;
    }
    return text;
}

// One record, "Bench", holding `count` periods with Cyrillic names ("Период 1", ...).
bool WriteRecord(const QString& path, Shape shape, int64_t count)
{
    const std::string line = "Bench|" + PeriodsText(shape, count) + "\r\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(line.data(), static_cast<qint64>(line.size())) == static_cast<qint64>(line.size());
}

// A window whose working list holds `count` periods; shown offscreen like the real one.
std::unique_ptr<TMainForm> WindowWithPeriods(const QTemporaryDir& dir, int64_t count, Shape shape = Shape::Spread)
{
    const QString path = dir.filePath(QStringLiteral("u.ini"));
    if (!WriteRecord(path, shape, count))
        return nullptr;
    TMainForm::UserDialogs silent;
    silent.showMessage = [](QWidget*, const QString&) {};
    silent.askRetrySave = [](QWidget*, const QString&) { return false; };
    auto form = std::make_unique<TMainForm>(path, silent);
    auto* saved = form->findChild<QListView*>(QStringLiteral("SavedListBox"));
    if (!saved || saved->model()->rowCount() != 1)
        return nullptr;
    saved->setCurrentIndex(saved->model()->index(0, 0));
    form->SavedListBoxDblClick();
    form->show();
    QCoreApplication::processEvents();
    if (form->findChild<QListWidget*>(QStringLiteral("IntervalsListBox"))->count() != count)
        return nullptr;
    return form;
}

// The handler alone: refill of the list, the total, the unbroken-service date and the
// insurance read-outs.
void BM_Recalculate(benchmark::State& state, Shape shape)
{
    QTemporaryDir dir;
    auto form = WindowWithPeriods(dir, state.range(0), shape);
    if (!form) {
        state.SkipWithError("could not fill the working list");
        return;
    }
    for (auto _ : state)
        form->UnbrokenDateUpdateButtonClick();
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The whole frame: the handler, then the list's layout and the repaint that follow it.
void BM_RecalculateAndRepaint(benchmark::State& state)
{
    QTemporaryDir dir;
    auto form = WindowWithPeriods(dir, state.range(0));
    if (!form) {
        state.SkipWithError("could not fill the working list");
        return;
    }
    for (auto _ : state) {
        form->UnbrokenDateUpdateButtonClick();
        form->repaint();
        QCoreApplication::processEvents();
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The analysis that the read-outs take alone, on the career list.
void BM_CareerAnalysis(benchmark::State& state)
{
    IntervalList periods;
    for (const AnsiString& text : SplitText(PeriodsText(Shape::Career, state.range(0)), '&')) {
        const std::vector<AnsiString> fields = SplitText(text, ',');
        if (fields.size() == 3)
            periods.emplace_back(fields[0], MDate(fields[1]), MDate(fields[2]));
    }
    const CalendarDay today = std::chrono::sys_days{std::chrono::year{2024} / 3 / 15};
    for (auto _ : state)
        benchmark::DoNotOptimize(AnalysePeriods(periods, "15.03.2020", today, {}));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK_CAPTURE(BM_Recalculate, spread, Shape::Spread)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_CAPTURE(BM_Recalculate, career, Shape::Career)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_RecalculateAndRepaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_CareerAnalysis)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

int main(int argc, char** argv)
{
    // The window needs a display of some kind; without one, draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RunBenchmarks(argc, argv);
}
