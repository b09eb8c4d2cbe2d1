// The main window's start-up and close with a large data file: start-up to a shown window with
// 100k saved records (5 periods each) against start-up without a data file, and the close, which
// writes the records back, against a plain write of the same bytes with the same durability.
//
// Two modes time the whole process from outside (/usr/bin/time, in-process figures leave out the
// start of Qt itself): "--write-data-file PATH" writes the generated records to PATH, and
// "--show-once DATAFILE" starts the application, shows the window over DATAFILE (a missing one
// for a first start) and ends.

#include "DataFile.h"
#include "Dateinterval.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int RecordCount = 100'000;
constexpr int PeriodsPerRecord = 5;

SavedRecordMap GenerateRecords()
{
    SavedRecordMap records;
    char text[64];
    for (int r = 0; r < RecordCount; ++r) {
        // "Сотрудник N": Cyrillic names, as the users type them.
        std::snprintf(text, sizeof text, "\xD1\xEE\xF2\xF0\xF3\xE4\xED\xE8\xEA %d", r);
        IntervalList periods;
        for (int p = 0; p < PeriodsPerRecord; ++p) {
            const int year = 1960 + (r + p * 11) % 50;
            char from[16];
            char to[16];
            std::snprintf(from, sizeof from, "%02d.%02d.%04d", r % 28 + 1, p % 12 + 1, year);
            std::snprintf(to, sizeof to, "%02d.%02d.%04d", (r + p) % 28 + 1, (p + 5) % 12 + 1, year + 3);
            periods.emplace_back("\xC7\xE0\xE2\xEE\xE4", MDate(from), MDate(to)); // "Завод"
        }
        records.emplace(text, std::move(periods));
    }
    return records;
}

struct Fixture {
    QTemporaryDir folder;
    QString dataPath;
    QString missingPath;
    QString plainPath;
    QByteArray bytes;

    Fixture()
        : dataPath(folder.filePath(QStringLiteral("u.ini")))
        , missingPath(folder.filePath(QStringLiteral("missing.ini")))
        , plainPath(folder.filePath(QStringLiteral("plain.ini")))
    {
        if (!WriteDataFile(dataPath, GenerateRecords()).ok())
            std::abort();
        QFile file(dataPath);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        bytes = file.readAll();
    }
};

Fixture& Data()
{
    static Fixture fixture;
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
    Fixture& data = Data();
    const QString path = state.range(0) == 0 ? data.missingPath : data.dataPath;
    for (auto _ : state) {
        auto form = ShownWindow(path);
        state.PauseTiming();
        if (form->findChild<QListWidget*>(QStringLiteral("SavedListBox"))->count() != state.range(0))
            state.SkipWithError("the records did not load");
        form.reset(); // destroyed without a close: nothing is written
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Arg(0)->Arg(RecordCount)->Unit(benchmark::kMillisecond);

// The close writes every record back to the data file.
void BM_Close(benchmark::State& state)
{
    Fixture& data = Data();
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

void BM_PlainWrite(benchmark::State& state)
{
    Fixture& data = Data();
    for (auto _ : state) {
        QSaveFile file(data.plainPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(data.bytes) != data.bytes.size() || !file.commit())
            state.SkipWithError("plain write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
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
        return WriteDataFile(QString::fromLocal8Bit(argv[2]), GenerateRecords()).ok() ? 0 : 1;
    if (argc == 3 && qstrcmp(argv[1], "--show-once") == 0) {
        const auto form = ShownWindow(QString::fromLocal8Bit(argv[2]));
        return form->isVisible() ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
