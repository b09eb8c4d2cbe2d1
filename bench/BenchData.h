#pragma once

// Data for the benchmarks: a large data file of realistic records, and the plain work on its
// bytes that every reader or writer of it has to do anyway.
#include "SavedRecords.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>

constexpr size_t RecordCount = 100'000;
constexpr size_t PeriodsPerRecord = 5;

// RecordCount distinct full names in Windows-1251 (with a number where the name lists run out),
// PeriodsPerRecord periods each at realistic employers, dd.mm.yyyy dates; the same every run.
SavedRecordMap RealisticRecords();

// A temporary folder holding the data file "u.ini" of RealisticRecords(), its bytes, and the
// paths of a second file for plain writes and of a file that does not exist.
struct DataFileFixture {
    QTemporaryDir folder;
    QString dataPath;
    QString plainPath;
    QString missingPath;
    QByteArray bytes;

    DataFileFixture();
};

namespace benchmark {
class State;
}

// The baseline of every write of the data file: the fixture's bytes written as durably as the
// data file is written (a temporary file, flushed to disk, then renamed over the old one).
void PlainDurableWrite(benchmark::State& state, const DataFileFixture& data);

// Runs the benchmarks named on the command line, as benchmark_main does.
int RunBenchmarks(int argc, char** argv);
