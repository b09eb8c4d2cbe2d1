// The main window's start-up and close with a large data file: start-up to a shown window with
// 100k saved records (5 periods each) against start-up without a data file, and the close, which
// writes the records back, against a plain write of the same bytes with the same durability.
//
// Two modes time the whole process from outside (/usr/bin/time, in-process figures leave out the
// start of Qt itself): "--write-data-file PATH" writes the generated records to PATH, and
// "--show-once DATAFILE" starts the application, shows the window over DATAFILE (a missing one
// for a first start) and ends at once.

#include "BenchData.h"
#include "DataFile.h"
#include "Dateinterval.h"

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

DataFileFixture& Data()
{
    static DataFileFixture fixture;
    return fixture;
}

TMainForm::UserDialogs Silent()
{
    TMainForm::UserDialogs silent;
    silent.showMessage = [](QWidget*, const QString&) {};
    silent.askRetrySave = [](QWidget*, const QString&) { return false; };
    return silent;
}

std::unique_ptr<TMainForm> ShownWindow(const QString& path)
{
    auto form = std::make_unique<TMainForm>(path, Silent());
    form->show();
    QCoreApplication::processEvents();
    return form;
}

// Arg 0: no data file (a first start); otherwise the data file of RecordCount records.
void BM_StartUp(benchmark::State& state)
{
    DataFileFixture& data = Data();
    const QString path = state.range(0) == 0 ? data.missingPath : data.dataPath;
    for (auto _ : state) {
        auto form = ShownWindow(path);
        state.PauseTiming();
        if (form->findChild<QListView*>(QStringLiteral("SavedListBox"))->model()->rowCount() != state.range(0))
            state.SkipWithError("the records did not load");
        form.reset(); // destroyed without a close: nothing is written
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Arg(0)->Arg(RecordCount)->Unit(benchmark::kMillisecond);

// The close writes every record back to the data file.
void BM_Close(benchmark::State& state)
{
    DataFileFixture& data = Data();
    for (auto _ : state) {
        state.PauseTiming();
        auto form = ShownWindow(data.dataPath);
        state.ResumeTiming();
        form->close();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    if (QFile(data.dataPath).size() != data.bytes.size())
        state.SkipWithError("the close did not write the records back");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_Close)->Unit(benchmark::kMillisecond);

// Typing a letter in the list of records looks for the next name that starts with it: a letter
// no name starts with looks at every one of the RecordCount names.
void BM_TypeToFindInSavedList(benchmark::State& state)
{
    auto form = ShownWindow(Data().dataPath);
    auto* list = form->findChild<QListView*>(QStringLiteral("SavedListBox"));
    list->setFocus();
    for (auto _ : state) {
        QTest::keyClick(list, Qt::Key_Q);
        // Keys typed in a row make one search text; a pause ends it.
        state.PauseTiming();
        list->reset();
        QTest::qWait(QApplication::keyboardInputInterval() + 10);
        state.ResumeTiming();
    }
    if (list->currentIndex().isValid())
        state.SkipWithError("a name was found that does not start with Q");
}
BENCHMARK(BM_TypeToFindInSavedList)->Unit(benchmark::kMillisecond);

void BM_PlainWrite(benchmark::State& state)
{
    PlainDurableWrite(state, Data());
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The window needs a display of some kind; without one, draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--write-data-file") == 0)
        return WriteDataFile(QString::fromLocal8Bit(argv[2]), RealisticRecords()).ok() ? 0 : 1;
    if (argc == 3 && qstrcmp(argv[1], "--show-once") == 0) {
        const auto form = ShownWindow(QString::fromLocal8Bit(argv[2]));
        // Start-up ends with the shown window: tearing the records down again is not part of it.
        std::_Exit(form->isVisible() ? 0 : 1);
    }
    return RunBenchmarks(argc, argv);
}
