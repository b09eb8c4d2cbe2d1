#include "DataFile.h"

#include <QFile>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// Bytes taken from or handed to the device at a time.
constexpr qint64 ChunkSize = 64 * 1024;

enum class Step { Open, Read, Create, Write, Replace };

// How each kind of failure reads to the user, inside the window's own Russian message.
const char* const NoAccessText = "нет доступа";
const char* const OpenFailedText = "не удалось открыть файл";
const char* const CreateFailedText = "не удалось создать файл";
const char* const ReadFailedText = "не удалось прочитать файл";
const char* const WriteFailedText = "не удалось записать файл";
const char* const ReplaceFailedText = "не удалось заменить файл";
const char* const DiskFullText = "недостаточно места на диске";
const char* const NoResourcesText = "не хватает ресурсов системы";

const char* StepFailedText(Step step)
{
    switch (step) {
    case Step::Open:
        return OpenFailedText;
    case Step::Read:
        return ReadFailedText;
    case Step::Create:
        return CreateFailedText;
    case Step::Write:
        return WriteFailedText;
    case Step::Replace:
        return ReplaceFailedText;
    }
    return WriteFailedText;
}

// The kind Qt names where it names one; otherwise the step that failed tells it.
const char* KindOfFailure(QFileDevice::FileError error, Step step)
{
    switch (error) {
    case QFileDevice::PermissionsError:
        return NoAccessText;
    case QFileDevice::ResourceError:
        // Qt says so for a full disk when writing, for too many open files when opening.
        return step == Step::Write || step == Step::Replace ? DiskFullText : NoResourcesText;
    case QFileDevice::ReadError:
        return ReadFailedText;
    case QFileDevice::WriteError:
        return WriteFailedText;
    case QFileDevice::RenameError:
        return ReplaceFailedText;
    default:
        return StepFailedText(step);
    }
}

// The kind of failure in Russian, then the system's own words in brackets.
DataFileResult Failure(Step step, QFileDevice::FileError error, const QString& systemText)
{
    const QString kind = QString::fromUtf8(KindOfFailure(error, step));
    return {
        DataFileResult::State::Failed, systemText.isEmpty() ? kind : QStringLiteral("%1 (%2)").arg(kind, systemText)};
}

DataFileResult Failure(Step step, const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return Failure(step, file ? file->error() : QFileDevice::UnspecifiedError, device.errorString());
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

// A short write is followed by another, so that the device names the error that stopped it.
bool WriteAll(QIODevice& device, const AnsiString& bytes)
{
    const char* data = bytes.data();
    for (qint64 left = static_cast<qint64>(bytes.size()); left > 0;) {
        const qint64 written = device.write(data, left);
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// Waits until the written bytes are on the disk; on failure errno says why.
bool SyncToDisk(const QFileDevice& file)
{
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

} // namespace

DataFileResult ReadRecords(QIODevice& device, const RecordSink& sink)
{
    AnsiString line;
    std::vector<char> chunk(ChunkSize);
    for (;;) {
        const qint64 got = device.read(chunk.data(), ChunkSize);
        if (got < 0)
            return Failure(Step::Read, device);
        if (got == 0)
            break;
        const char* start = chunk.data();
        const char* const end = start + got;
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
        return Failure(Step::Open, file);
    return ReadRecords(file, sink);
}

DataFileResult WriteRecords(QIODevice& device, const SavedRecordMap& records)
{
    // Lines are gathered into chunks: the device sees few large writes, the bytes are the same.
    AnsiString chunk;
    chunk.reserve(ChunkSize * 2);
    for (const auto& [name, periods] : records) {
        AppendRecordLine(chunk, name, periods);
        chunk += "\r\n";
        if (chunk.size() >= ChunkSize) {
            if (!WriteAll(device, chunk))
                return Failure(Step::Write, device);
            chunk.clear();
        }
    }
    if (!chunk.empty() && !WriteAll(device, chunk))
        return Failure(Step::Write, device);
    return {};
}

DataFileResult WriteDataFile(const QString& path, const SavedRecordMap& records)
{
    // Everything goes to a temporary file beside the old one, which is replaced only after the
    // last byte reached the disk: a failure or a crash part-way leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure(Step::Create, file);
    DataFileResult result = WriteRecords(file, records);
    // commit() would replace the old file even when its own final flush or the sync to disk
    // failed: both are done and checked here first.
    if (result.ok() && !file.flush())
        result = Failure(Step::Write, file);
    if (result.ok() && !SyncToDisk(file))
        result = Failure(Step::Write, QFileDevice::WriteError, qt_error_string(errno));
    if (!result.ok()) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return Failure(Step::Replace, file);
    return {};
}
