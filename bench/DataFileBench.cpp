// Reading and writing a large data file, each against the plain work on the same bytes that no
// parser can avoid: the reader against a pass that only counts the line ends, the writer against
// writing the same bytes with the same durability. The ratios are printed at the end of the run.
#include "DataFile.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t RecordCount = 100'000;
constexpr size_t PeriodsPerRecord = 5;
// The reader's chunk, so that the plain pass reads the file exactly as the reader does.
constexpr qint64 ChunkSize = 64 * 1024;

// Windows-1251 bytes of realistic names: full names as record names, employers as period names.
const char* const Surnames[] = {
    "\xC8\xE2\xE0\xED\xEE\xE2", // Иванов
    "\xCF\xE5\xF2\xF0\xEE\xE2", // Петров
    "\xD1\xE8\xE4\xEE\xF0\xEE\xE2", // Сидоров
    "\xCA\xF3\xE7\xED\xE5\xF6\xEE\xE2", // Кузнецов
    "\xD1\xEC\xE8\xF0\xED\xEE\xE2", // Смирнов
    "\xCF\xEE\xEF\xEE\xE2", // Попов
    "\xC2\xE0\xF1\xE8\xEB\xFC\xE5\xE2", // Васильев
    "\xD1\xEE\xEA\xEE\xEB\xEE\xE2", // Соколов
    "\xCC\xE8\xF5\xE0\xE9\xEB\xEE\xE2", // Михайлов
    "\xCD\xEE\xE2\xE8\xEA\xEE\xE2", // Новиков
    "\xD4\xE5\xE4\xEE\xF0\xEE\xE2", // Федоров
    "\xCC\xEE\xF0\xEE\xE7\xEE\xE2", // Морозов
    "\xC2\xEE\xEB\xEA\xEE\xE2", // Волков
    "\xC0\xEB\xE5\xEA\xF1\xE5\xE5\xE2", // Алексеев
    "\xCB\xE5\xE1\xE5\xE4\xE5\xE2", // Лебедев
    "\xD1\xE5\xEC\xE5\xED\xEE\xE2", // Семенов
    "\xC5\xE3\xEE\xF0\xEE\xE2", // Егоров
    "\xCF\xE0\xE2\xEB\xEE\xE2", // Павлов
    "\xCA\xEE\xE7\xEB\xEE\xE2", // Козлов
    "\xD1\xF2\xE5\xEF\xE0\xED\xEE\xE2", // Степанов
};
const char* const FirstNames[] = {
    "\xC0\xEB\xE5\xEA\xF1\xE0\xED\xE4\xF0", // Александр
    "\xC8\xE2\xE0\xED", // Иван
    "\xD1\xE5\xF0\xE3\xE5\xE9", // Сергей
    "\xCE\xEB\xFC\xE3\xE0", // Ольга
    "\xC5\xEB\xE5\xED\xE0", // Елена
    "\xC4\xEC\xE8\xF2\xF0\xE8\xE9", // Дмитрий
    "\xCD\xE0\xF2\xE0\xEB\xFC\xFF", // Наталья
    "\xCC\xE8\xF5\xE0\xE8\xEB", // Михаил
    "\xD2\xE0\xF2\xFC\xFF\xED\xE0", // Татьяна
    "\xCF\xE0\xE2\xE5\xEB", // Павел
};
const char* const Patronymics[] = {
    "\xC8\xE2\xE0\xED\xEE\xE2\xE8\xF7", // Иванович
    "\xCF\xE5\xF2\xF0\xEE\xE2\xED\xE0", // Петровна
    "\xD1\xE5\xF0\xE3\xE5\xE5\xE2\xE8\xF7", // Сергеевич
    "\xCD\xE8\xEA\xEE\xEB\xE0\xE5\xE2\xED\xE0", // Николаевна
    "\xC2\xE8\xEA\xF2\xEE\xF0\xEE\xE2\xE8\xF7", // Викторович
};
const char* const Employers[] = {
    "\xC7\xE0\xE2\xEE\xE4", // Завод
    "\xD8\xEA\xEE\xEB\xE0 \xB9 5", // Школа № 5
    "\xC8\xED\xF1\xF2\xE8\xF2\xF3\xF2", // Институт
    "\xC1\xEE\xEB\xFC\xED\xE8\xF6\xE0", // Больница
    "\xCE\xCE\xCE \xAB\xD0\xEE\xEC\xE0\xF8\xEA\xE0\xBB", // ООО «Ромашка»
    "\xD1\xEB\xF3\xE6\xE1\xE0 \xE2 \xE0\xF0\xEC\xE8\xE8", // Служба в армии
    "\xCA\xEE\xEB\xF5\xEE\xE7 \xE8\xEC. \xCB\xE5\xED\xE8\xED\xE0", // Колхоз им. Ленина
    "\xD2\xF0\xE0\xEC\xE2\xE0\xE9\xED\xEE\xE5 \xE4\xE5\xEF\xEE", // Трамвайное депо
};

template <size_t N> const char* Pick(const char* const (&names)[N], std::mt19937& random)
{
    return names[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

// 100k distinct full names (with a number where the three lists run out), five periods each.
SavedRecordMap GenerateRecords()
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> year(1960, 2020);
    std::uniform_int_distribution<int> month(1, 12);
    std::uniform_int_distribution<int> day(1, 28);
    SavedRecordMap records;
    char date[32];
    while (records.size() < RecordCount) {
        AnsiString name = std::string(Pick(Surnames, random)) + ' ' + Pick(FirstNames, random) + ' '
            + Pick(Patronymics, random) + ' ' + std::to_string(records.size());
        IntervalList periods;
        for (size_t i = 0; i < PeriodsPerRecord; ++i) {
            const int startYear = year(random);
            std::snprintf(date, sizeof date, "%02d.%02d.%04d", day(random), month(random), startYear);
            const MDate from{AnsiString(date)};
            std::snprintf(date, sizeof date, "%02d.%02d.%04d", day(random), month(random), startYear + 3);
            periods.emplace_back(Pick(Employers, random), from, MDate(AnsiString(date)));
        }
        records.emplace(std::move(name), std::move(periods));
    }
    return records;
}

struct Fixture {
    QTemporaryDir folder;
    QString dataPath;
    QString plainPath;
    SavedRecordMap records;
    QByteArray bytes;

    // The map written back is the one read from the file, as the program writes at close what it
    // loaded at start.
    Fixture()
        : dataPath(folder.filePath("u.ini"))
        , plainPath(folder.filePath("plain.ini"))
    {
        if (!WriteDataFile(dataPath, GenerateRecords()).ok())
            std::abort();
        ReadDataFile(
            dataPath, [this](AnsiString name, IntervalList periods) { records[std::move(name)] = std::move(periods); });
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

void BM_ReadDataFile(benchmark::State& state)
{
    Fixture& data = Data();
    for (auto _ : state) {
        // The sink does what the window does with each record.
        SavedRecordMap map;
        const DataFileResult result = ReadDataFile(data.dataPath,
            [&map](AnsiString name, IntervalList periods) { map[std::move(name)] = std::move(periods); });
        if (result.state != DataFileResult::State::Done || map.size() != RecordCount)
            state.SkipWithError("the data file did not read back whole");
        benchmark::DoNotOptimize(map);
        // Freeing the map is not part of reading; its memory goes back to the system, so that every
        // reading starts as the program does.
        state.PauseTiming();
        SavedRecordMap().swap(map);
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);

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

// Heap bytes held by the map that reading the file builds, against the size of the file.
void BM_LoadedMapMemory(benchmark::State& state)
{
    Fixture& data = Data();
    double ratio = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        auto map = std::make_unique<SavedRecordMap>();
        ReadDataFile(data.dataPath,
            [&map](AnsiString name, IntervalList periods) { (*map)[std::move(name)] = std::move(periods); });
        const size_t after = mallinfo2().uordblks;
        ratio = static_cast<double>(after - before) / static_cast<double>(data.bytes.size());
        state.PauseTiming();
        map.reset();
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
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            for (const auto& [name, counter] : run.counters)
                m_counters[name] = counter.value;
        }
    }

    void PrintRatios() const
    {
        Print("reading / plain pass", "BM_ReadDataFile", "BM_PlainLineCount", 10);
        Print("writing / plain write", "BM_WriteDataFile", "BM_PlainWrite", 3);
        if (const auto memory = m_counters.find("map_per_file_byte"); memory != m_counters.end())
            std::printf("%-24s %6.2f  (target <= %g)\n", "map memory / file size", memory->second, 5.0);
    }

private:
    void Print(const char* label, const std::string& measured, const std::string& plain, double target) const
    {
        const auto a = m_seconds.find(measured);
        const auto b = m_seconds.find(plain);
        if (a != m_seconds.end() && b != m_seconds.end())
            std::printf("%-24s %6.2f  (target <= %g)\n", label, a->second / b->second, target);
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
