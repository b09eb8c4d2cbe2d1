// Recalculate runs on every keystroke in the hire-date field, so it must rebuild the period
// list and the read-outs of a long working list within one 60 Hz frame.
//
// The working list is filled the way a user fills it from a saved record: the window loads a
// generated data file with one record of N periods, and a double click on its line opens it.
// "@" (UnbrokenDateUpdateButtonClick) then does nothing but Recalculate.

#include "BenchData.h"
#include "Dateinterval.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// One record, "Bench", holding `count` periods with Cyrillic names ("Период 1", ...).
bool WriteRecord(const QString& path, int64_t count)
{
    std::string line = "Bench|";
    for (int64_t i = 0; i < count; ++i) {
        char period[64];
        std::snprintf(period, sizeof period, "\xCF\xE5\xF0\xE8\xEE\xE4 %lld,%02d.%02d.%04d,%02d.%02d.%04d&",
            static_cast<long long>(i + 1), static_cast<int>(i % 28 + 1), static_cast<int>(i % 12 + 1),
            static_cast<int>(1950 + i % 50), static_cast<int>((i + 7) % 28 + 1), static_cast<int>((i + 5) % 12 + 1),
            static_cast<int>(2000 + i % 20));
        line += period;
    }
    line += "\r\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(line.data(), static_cast<qint64>(line.size())) == static_cast<qint64>(line.size());
}

// A window whose working list holds `count` periods; shown offscreen like the real one.
std::unique_ptr<TMainForm> WindowWithPeriods(const QTemporaryDir& dir, int64_t count)
{
    const QString path = dir.filePath(QStringLiteral("u.ini"));
    if (!WriteRecord(path, count))
        return nullptr;
    TMainForm::UserDialogs silent;
    silent.showMessage = [](QWidget*, const QString&) {};
    silent.askRetrySave = [](QWidget*, const QString&) { return false; };
    auto form = std::make_unique<TMainForm>(path, silent);
    auto* saved = form->findChild<QListWidget*>(QStringLiteral("SavedListBox"));
    if (!saved || saved->count() != 1)
        return nullptr;
    saved->setCurrentRow(0);
    form->SavedListBoxDblClick();
    form->show();
    QCoreApplication::processEvents();
    if (form->findChild<QListWidget*>(QStringLiteral("IntervalsListBox"))->count() != count)
        return nullptr;
    return form;
}

// The handler alone: refill of the list, the total and the unbroken-service date.
void BM_Recalculate(benchmark::State& state)
{
    QTemporaryDir dir;
    auto form = WindowWithPeriods(dir, state.range(0));
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

BENCHMARK(BM_Recalculate)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_RecalculateAndRepaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

int main(int argc, char** argv)
{
    // The window needs a display of some kind; without one, draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RunBenchmarks(argc, argv);
}
