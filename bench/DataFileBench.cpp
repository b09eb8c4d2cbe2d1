// Reading and writing a large data file, each against the plain work on the same bytes that no
// parser can avoid: the reader against a pass that only counts the line ends, the writer against
// writing the same bytes with the same durability. The window's own load (which also checks that
// every line reads back as written) and the write that ends every save of a record (lock, check
// for another window's changes, atomic replace) are measured against the same. The ratios are
// printed at the end of the run.
#include "BenchData.h"
#include "DataFile.h"
#include "RecordBook.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The reader's chunk, so that the plain pass reads the file exactly as the reader does.
constexpr qint64 ChunkSize = 64 * 1024;

// The map written back is the one read from the file, as the program writes at close what it
// loaded at start.
struct Fixture : DataFileFixture {
    SavedRecordMap records;

    Fixture()
    {
        ReadDataFile(
            dataPath, [this](AnsiString name, IntervalList periods) { records[std::move(name)] = std::move(periods); });
    }
};

Fixture& Data()
{
    static Fixture fixture;
    return fixture;
}

// Reads the data file into the records as the window keeps them: kept as their lines' bytes
// where they can be.
void BM_ReadDataFile(benchmark::State& state)
{
    Fixture& data = Data();
    for (auto _ : state) {
        RecordTable table;
        QFile file;
        if (OpenDataFile(data.dataPath, file).state != DataFileResult::State::Done
            || !ReadRecordTable(file, table).ok() || table.Size() != RecordCount)
            state.SkipWithError("the data file did not read back whole");
        benchmark::DoNotOptimize(table);
        // Freeing the records is not part of reading; their memory goes back to the system, so
        // that every reading starts as the program does.
        state.PauseTiming();
        table = RecordTable();
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);

// Every record parsed, into the plain map.
void BM_ReadDataFileParsed(benchmark::State& state)
{
    Fixture& data = Data();
    for (auto _ : state) {
        SavedRecordMap map;
        const DataFileResult result = ReadDataFile(data.dataPath, [&map](AnsiString name, IntervalList periods) {
            map.try_emplace(map.end(), std::move(name))->second = std::move(periods);
        });
        if (result.state != DataFileResult::State::Done || map.size() != RecordCount)
            state.SkipWithError("the data file did not read back whole");
        benchmark::DoNotOptimize(map);
        state.PauseTiming();
        SavedRecordMap().swap(map);
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_ReadDataFileParsed)->Unit(benchmark::kMillisecond);

void BM_PlainLineCount(benchmark::State& state)
{
    Fixture& data = Data();
    std::vector<char> chunk(ChunkSize);
    for (auto _ : state) {
        QFile file(data.dataPath);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open the data file");
        size_t lines = 0;
        for (qint64 got; (got = file.read(chunk.data(), ChunkSize)) > 0;) {
            const char* start = chunk.data();
            const char* const end = start + got;
            while (
                const char* lf = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(end - start)))) {
                ++lines;
                start = lf + 1;
            }
        }
        if (lines != RecordCount)
            state.SkipWithError("wrong number of lines");
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_PlainLineCount)->Unit(benchmark::kMillisecond);

void BM_WriteDataFile(benchmark::State& state)
{
    Fixture& data = Data();
    for (auto _ : state) {
        if (!WriteDataFile(data.plainPath, data.records).ok())
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_WriteDataFile)->Unit(benchmark::kMillisecond);

// The window's load: the records, the list of names, and whether the file is the writer's own.
void BM_LoadRecordBook(benchmark::State& state)
{
    Fixture& data = Data();
    for (auto _ : state) {
        auto book = std::make_unique<RecordBook>(DataFileLocation{data.dataPath, data.dataPath, {}});
        size_t listed = 0;
        if (!book->Load([&listed](std::string_view) { ++listed; }).ok() || book->Records().Size() != RecordCount
            || listed != RecordCount)
            state.SkipWithError("the data file did not load whole");
        state.PauseTiming();
        book.reset();
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_LoadRecordBook)->Unit(benchmark::kMillisecond);

// One save of a record in a window with RecordCount records: the record changes, then the whole
// file is written as every record command writes it. Arg 1: another window wrote the file since,
// so that it is read again and merged first.
void BM_SaveOneRecord(benchmark::State& state)
{
    Fixture& data = Data();
    const bool merged = state.range(0) == 1;
    const QString path = data.folder.filePath(QStringLiteral("book.ini"));
    QFile::remove(path);
    if (!QFile::copy(data.dataPath, path))
        state.SkipWithError("cannot copy the data file");
    RecordBook mine({path, path, {}});
    RecordBook other({path, path, {}});
    if (!mine.Load({}).ok() || (merged && !other.Load({}).ok()))
        state.SkipWithError("cannot load the data file");
    const AnsiString name(mine.Records().begin()->name);
    const AnsiString otherName(std::next(mine.Records().begin())->name);
    const IntervalList first = PeriodsOf(*mine.Records().begin());
    const IntervalList versions[2] = {first, IntervalList(first.rbegin(), first.rend())};
    size_t turn = 0;
    for (auto _ : state) {
        if (merged) {
            state.PauseTiming();
            other.Save(otherName, versions[turn % 2]);
            if (!other.Write().ok())
                state.SkipWithError("the other window's write failed");
            state.ResumeTiming();
        }
        mine.Save(name, versions[++turn % 2]);
        const BookWrite written = mine.Write();
        if (!written.ok() || !written.kept.empty())
            state.SkipWithError("the write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_SaveOneRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PlainWrite(benchmark::State& state)
{
    PlainDurableWrite(state, Data());
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

// Heap bytes held by the records that reading the file builds, against the size of the file.
void BM_LoadedMapMemory(benchmark::State& state)
{
    Fixture& data = Data();
    double ratio = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
        auto table = std::make_unique<RecordTable>();
        QFile file;
        if (OpenDataFile(data.dataPath, file).state != DataFileResult::State::Done || !ReadRecordTable(file, *table).ok())
            state.SkipWithError("the data file did not read");
        const size_t after = mallinfo2().uordblks + mallinfo2().hblkhd;
        ratio = static_cast<double>(after - before) / static_cast<double>(data.bytes.size());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    state.counters["map_per_file_byte"] = ratio;
    state.counters["file_MB"] = static_cast<double>(data.bytes.size()) / 1e6;
}
BENCHMARK(BM_LoadedMapMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Keeps the console output and remembers each benchmark's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions the median of each stands for it.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            const std::string name = median ? run.run_name.str() : run.benchmark_name();
            m_seconds[name] = run.GetAdjustedRealTime();
            for (const auto& [counterName, counter] : run.counters)
                m_counters[counterName] = counter.value;
        }
    }

    void PrintRatios() const
    {
        Print("reading / plain pass", "BM_ReadDataFile", "BM_PlainLineCount", 10);
        Print("parsing all / plain pass", "BM_ReadDataFileParsed", "BM_PlainLineCount", 0);
        Print("writing / plain write", "BM_WriteDataFile", "BM_PlainWrite", 3);
        Print("book load / plain pass", "BM_LoadRecordBook", "BM_PlainLineCount", 0);
        Print("save of one record / plain write", "BM_SaveOneRecord/0", "BM_PlainWrite", 0);
        Print("save after another window / plain write", "BM_SaveOneRecord/1", "BM_PlainWrite", 0);
        if (const auto memory = m_counters.find("map_per_file_byte"); memory != m_counters.end())
            std::printf("%-40s %6.2f  (target <= %g)\n", "records' memory / file size", memory->second, 2.0);
    }

private:
    // A target of 0: measured, with no target set.
    void Print(const char* label, const std::string& measured, const std::string& plain, double target) const
    {
        const auto a = m_seconds.find(measured);
        const auto b = m_seconds.find(plain);
        if (a == m_seconds.end() || b == m_seconds.end())
            return;
        if (target > 0)
            std::printf("%-40s %6.2f  (target <= %g)\n", label, a->second / b->second, target);
        else
            std::printf("%-40s %6.2f\n", label, a->second / b->second);
    }

    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_counters;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
