#include "DataFile.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

namespace {

constexpr qint64 ChunkSize = 64 * 1024;

DataFileResult Failure(const QString& reason)
{
    return {DataFileResult::State::Failed, reason};
}

void HandLine(AnsiString& line, const RecordSink& sink)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty())
        return;
    auto [name, periods] = ParseRecordLine(line);
    if (!name.empty())
        sink(std::move(name), std::move(periods));
}

} // namespace

DataFileResult ReadRecords(QIODevice& device, const RecordSink& sink)
{
    AnsiString line;
    char chunk[ChunkSize];
    for (;;) {
        const qint64 got = device.read(chunk, ChunkSize);
        if (got < 0)
            return Failure(device.errorString());
        if (got == 0)
            break;
        const char* start = chunk;
        const char* const end = chunk + got;
        while (const char* lf = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(end - start)))) {
            line.append(start, lf);
            HandLine(line, sink);
            line.clear();
            start = lf + 1;
        }
        line.append(start, end);
    }
    HandLine(line, sink);
    return {};
}

DataFileResult ReadDataFile(const QString& path, const RecordSink& sink)
{
    QFile file(path);
    if (!file.exists())
        return {DataFileResult::State::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return Failure(file.errorString());
    return ReadRecords(file, sink);
}

DataFileResult WriteRecords(QIODevice& device, const SavedRecordMap& records)
{
    for (const auto& [name, periods] : records) {
        AnsiString line = FormatRecordLine(name, periods);
        line += "\r\n";
        if (device.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size()))
            return Failure(device.errorString());
    }
    return {};
}

DataFileResult WriteDataFile(const QString& path, const SavedRecordMap& records)
{
    // Everything goes to a temporary file beside the old one, which is replaced only after the
    // last byte reached the disk: a failure or a crash part-way leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure(file.errorString());
    const DataFileResult written = WriteRecords(file, records);
    if (!written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return Failure(file.errorString());
    return {};
}
