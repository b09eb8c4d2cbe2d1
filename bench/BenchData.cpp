#include "BenchData.h"

#include "DataFile.h"

#include <QFile>
#include <QSaveFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

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

} // namespace

SavedRecordMap RealisticRecords()
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

DataFileFixture::DataFileFixture()
    : dataPath(folder.filePath(QStringLiteral("u.ini")))
    , plainPath(folder.filePath(QStringLiteral("plain.ini")))
    , missingPath(folder.filePath(QStringLiteral("missing.ini")))
{
    if (!WriteDataFile(dataPath, RealisticRecords()).ok())
        std::abort();
    QFile file(dataPath);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    bytes = file.readAll();
}

void PlainDurableWrite(benchmark::State& state, const DataFileFixture& data)
{
    for (auto _ : state) {
        QSaveFile file(data.plainPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(data.bytes) != data.bytes.size() || !file.commit())
            state.SkipWithError("plain write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.bytes.size());
}

int RunBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
