#include "DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

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
const char* const NotRegularText = "это не обычный файл, а канал, устройство или папка";

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

// A failure the system reported by its error number (errno, or GetLastError on Windows).
DataFileResult SystemFailure(Step step, int error)
{
    QFileDevice::FileError kind = QFileDevice::UnspecifiedError;
#ifdef Q_OS_WIN
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)
        kind = QFileDevice::PermissionsError;
    else if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
        kind = QFileDevice::ResourceError;
#else
    if (error == EACCES || error == EPERM || error == EROFS)
        kind = QFileDevice::PermissionsError;
    else if (error == ENOSPC || error == EDQUOT)
        kind = QFileDevice::ResourceError;
#endif
    return Failure(step, kind, qt_error_string(error));
}

DataFileResult NotRegularFailure()
{
    return {DataFileResult::State::Failed,
        QStringLiteral("%1 (%2)").arg(QString::fromUtf8(OpenFailedText), QString::fromUtf8(NotRegularText))};
}

int LastSystemError()
{
#ifdef Q_OS_WIN
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

const char* Find(const char* from, const char* end, char c)
{
    // An empty text may have no bytes at all to search.
    if (from == end)
        return end;
    const void* found = std::memchr(from, c, static_cast<size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
}

// Hands on each line that is not empty, as a view valid during the call.
using LineSink = std::function<void(std::string_view line)>;

// Cuts the bytes of a data file into lines. LF, CR LF and a CR alone end a line; a CR LF may be
// split between two pieces. A line that lies within one piece is handed as a view into it,
// uncopied; only a line cut between pieces is gathered first.
class LineCutter {
public:
    LineCutter(const LineSink& sink, ReadDetails* details)
        : m_sink(sink)
        , m_details(details)
    {
    }

    // `last`: the piece ends the bytes, and its last line needs no line end.
    void Feed(const char* start, const char* end, bool last = false)
    {
        if (m_afterCr && start < end) {
            m_afterCr = false;
            if (*start == '\n')
                ++start;
            else
                NotWhole();
        }
        // Each separator is searched for again only once the cut has passed it: a file of CRs
        // alone is scanned once, like one of LFs.
        const char* lf = Find(start, end, '\n');
        const char* cr = Find(start, end, '\r');
        for (;;) {
            const char* const stop = std::min(lf, cr);
            if (stop == end && !last) {
                m_line.append(start, stop);
                return;
            }
            if (m_line.empty()) {
                if (stop != start)
                    m_sink(std::string_view(start, static_cast<size_t>(stop - start)));
            } else {
                m_line.append(start, stop);
                Finish();
            }
            if (stop == end)
                return;
            start = stop + 1;
            if (*stop == '\r') {
                if (start == end) {
                    m_afterCr = true;
                    return;
                }
                if (*start == '\n')
                    ++start;
                else
                    NotWhole();
            }
            if (lf < start)
                lf = Find(start, end, '\n');
            if (cr < start)
                cr = Find(start, end, '\r');
        }
    }

    // The last line needs no line end. A CR ending the file is taken for a CR LF cut short.
    void Finish()
    {
        if (m_line.empty())
            return;
        m_sink(m_line);
        m_line.clear();
    }

private:
    void NotWhole()
    {
        if (m_details)
            m_details->whole = false;
    }

    const LineSink& m_sink;
    ReadDetails* m_details;
    AnsiString m_line;
    bool m_afterCr = false;
};

// Parses a line; a line the writer would write back otherwise lost something in the reading.
std::pair<AnsiString, IntervalList> ParseChecked(std::string_view line, ReadDetails* details, AnsiString& written)
{
    auto record = ParseRecordLine(line);
    if (details && details->whole) {
        written.clear();
        if (!record.first.empty())
            AppendRecordLine(written, record.first, record.second);
        if (written != line)
            details->whole = false;
    }
    return record;
}

// Reads the device to its end. A file says its size: one read into the text, so that a file of
// many megabytes is not copied while it grows; bytes beyond that size (a file still growing) are
// appended. On a read error the text holds the bytes read before it.
DataFileResult ReadText(QIODevice& device, ByteBuffer& text)
{
    const qint64 expected = device.isSequential() ? 0 : device.size() - device.pos();
    text.Resize(static_cast<size_t>(std::max<qint64>(expected, 0)));
    size_t got = 0;
    for (;;) {
        qint64 read = 0;
        if (got < text.size()) {
            read = device.read(text.data() + got, static_cast<qint64>(text.size() - got));
        } else {
            // Whether more follows is asked in a small piece: the text grows only when it does.
            char more[4096];
            read = device.read(more, sizeof more);
            if (read > 0) {
                text.Resize(got + static_cast<size_t>(read));
                std::memcpy(text.data() + got, more, static_cast<size_t>(read));
            }
        }
        if (read < 0) {
            text.Resize(got);
            return Failure(Step::Read, device);
        }
        if (read == 0)
            break;
        got += static_cast<size_t>(read);
    }
    text.Resize(got);
    return {};
}

DataFileResult ReadLines(QIODevice& device, const LineSink& sink, ReadDetails* details)
{
    LineCutter cutter(sink, details);
    ContentHash hash;
    std::vector<char> chunk(ChunkSize);
    for (;;) {
        const qint64 got = device.read(chunk.data(), ChunkSize);
        if (got < 0)
            return Failure(Step::Read, device);
        if (got == 0)
            break;
        if (details)
            hash.Add(chunk.data(), static_cast<size_t>(got));
        cutter.Feed(chunk.data(), chunk.data() + got);
    }
    cutter.Finish();
    if (details)
        details->hash = hash.Result();
    return {};
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

bool SyncToDisk(QFile& file)
{
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))) != 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

#ifndef Q_OS_WIN
FileStamp StampOf(const struct stat& status)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = static_cast<qint64>(status.st_size);
    stamp.modified = static_cast<qint64>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    stamp.changed = static_cast<qint64>(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec;
    stamp.device = static_cast<quint64>(status.st_dev);
    stamp.inode = static_cast<quint64>(status.st_ino);
    return stamp;
}
#else
FileStamp StampOf(const QFileInfo& info)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch() * 1'000'000;
    stamp.changed = info.metadataChangeTime().toMSecsSinceEpoch() * 1'000'000;
    return stamp;
}
#endif

// After a rename the new name is only durable once the folder that holds it is synced.
DataFileResult SyncFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    // Windows has no sync of a folder; the replace is written through (MOVEFILE_WRITE_THROUGH).
    Q_UNUSED(folder);
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return SystemFailure(Step::Replace, errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder at all; the rename is then as durable as they make it.
    if (!synced && error != EINVAL && error != ENOTSUP)
        return SystemFailure(Step::Replace, error);
#endif
    return {};
}

bool Rename(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
               reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
        != 0;
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

QString RandomLetters(int count)
{
    QString letters;
    for (int i = 0; i < count; ++i) {
        const auto pick = static_cast<char>(QRandomGenerator::global()->bounded(52));
        letters += QLatin1Char(pick < 26 ? char('A' + pick) : char('a' + pick - 26));
    }
    return letters;
}

// A new temporary file beside `target`, created with the permissions of `target` when it exists.
// Returns false with the file's error when none could be created.
bool CreateTemporaryFile(const QString& target, QFile& file)
{
    const std::optional<QFileDevice::Permissions> permissions
        = QFileInfo::exists(target) ? std::optional(QFile::permissions(target)) : std::nullopt;
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.setFileName(target + QLatin1String(TemporaryFilePrefix) + RandomLetters(6));
        const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::NewOnly;
        if (permissions ? file.open(mode, *permissions) : file.open(mode))
            return true;
        if (!file.exists())
            return false;
    }
    return false;
}

std::string_view NameOf(const SavedRecordMap::value_type& record)
{
    return record.first;
}

std::string_view NameOf(const RecordView& record)
{
    return record.name;
}

void AppendLine(AnsiString& line, const SavedRecordMap::value_type& record)
{
    AppendRecordLine(line, record.first, record.second);
}

void AppendLine(AnsiString& line, const RecordView& record)
{
    AppendRecordLine(line, record);
}

void AppendLine(AnsiString& line, const RecordOverlay::value_type& record)
{
    AppendRecordLine(line, record.first, *record.second);
}

template <typename Map>
DataFileResult WriteMap(QIODevice& device, const Map& records, const RecordOverlay& overlay, quint64* hash)
{
    // Lines are gathered into chunks: the device sees few large writes, the bytes are the same.
    AnsiString chunk;
    chunk.reserve(ChunkSize * 2);
    ContentHash content;
    const auto flush = [&] {
        if (hash)
            content.Add(chunk.data(), chunk.size());
        const bool written = WriteAll(device, chunk);
        chunk.clear();
        return written;
    };
    const auto put = [&](const auto& record) {
        AppendLine(chunk, record);
        chunk += "\r\n";
        return chunk.size() < ChunkSize || flush();
    };
    // Both are in key order: one walk through the two gives the lines in key order.
    auto record = records.begin();
    auto over = overlay.begin();
    while (record != records.end() || over != overlay.end()) {
        bool written = true;
        if (over == overlay.end() || (record != records.end() && NameOf(*record) < over->first)) {
            written = put(*record);
            ++record;
        } else {
            if (record != records.end() && NameOf(*record) == over->first)
                ++record;
            if (over->second)
                written = put(*over);
            ++over;
        }
        if (!written)
            return Failure(Step::Write, device);
    }
    if (!chunk.empty() && !flush())
        return Failure(Step::Write, device);
    if (hash)
        *hash = content.Result();
    return {};
}

template <typename Map>
DataFileResult WriteMapToFile(const QString& path, const Map& records, const RecordOverlay& overlay, FileStamp* written)
{
    // A link is followed: the file it names is replaced, the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    if (QFileInfo(target).isDir()) {
#ifdef Q_OS_WIN
        return Failure(Step::Write, QFileDevice::WriteError, QString());
#else
        return SystemFailure(Step::Write, EISDIR);
#endif
    }

    QFile file;
    if (!CreateTemporaryFile(target, file))
        return Failure(Step::Create, file);
    quint64 hash = 0;
    DataFileResult result = WriteMap(file, records, overlay, &hash);
    if (result.ok() && !file.flush())
        result = Failure(Step::Write, file);
    if (result.ok() && !SyncToDisk(file))
        result = SystemFailure(Step::Write, LastSystemError());
    file.close();
    if (result.ok() && file.error() != QFileDevice::NoError)
        result = Failure(Step::Write, file);
    if (result.ok() && !Rename(file.fileName(), target))
        result = SystemFailure(Step::Replace, LastSystemError());
    if (!result.ok()) {
        file.remove();
        return result;
    }
    result = SyncFolder(QFileInfo(target).absolutePath());
    if (!result.ok())
        return result;
    if (written) {
        QFile check;
        const DataFileResult opened = OpenDataFile(target, check, written);
        if (!opened.ok())
            return opened;
        written->hash = hash;
    }
    return {};
}

} // namespace

void ContentHash::Add(const char* data, size_t size)
{
    m_length += size;
    if (!m_pending.empty()) {
        const size_t taken = std::min(size, BlockSize - m_pending.size());
        m_pending.insert(m_pending.end(), data, data + taken);
        data += taken;
        size -= taken;
        if (m_pending.size() < BlockSize)
            return;
        m_state = qHashBits(m_pending.data(), BlockSize, m_state);
        m_pending.clear();
    }
    for (; size >= BlockSize; data += BlockSize, size -= BlockSize)
        m_state = qHashBits(data, BlockSize, m_state);
    m_pending.assign(data, data + size);
}

quint64 ContentHash::Result() const
{
    return qHashMulti(0, qHashBits(m_pending.data(), m_pending.size(), m_state), m_length);
}

DataFileResult ReadRecords(QIODevice& device, const RecordSink& sink, ReadDetails* details)
{
    AnsiString written;
    return ReadLines(
        device,
        [&](std::string_view line) {
            auto [name, periods] = ParseChecked(line, details, written);
            if (!name.empty())
                sink(std::move(name), std::move(periods));
        },
        details);
}

DataFileResult ReadRecordTable(QIODevice& device, RecordTable& table, const NameSink& listed, ReadDetails* details)
{
    ByteBuffer bytes;
    const DataFileResult read = ReadText(device, bytes);
    table.Reset(std::move(bytes));
    const std::string_view text = table.Text();
    if (details && read.ok()) {
        ContentHash hash;
        hash.Add(text.data(), text.size());
        details->hash = hash.Result();
    }
    AnsiString written;
    const LineSink sink = [&](std::string_view line) {
        const size_t bar = line.find('|');
        if (bar != std::string_view::npos && IsCanonicalRecordLine(line.substr(0, bar), line.substr(bar + 1))) {
            if (listed)
                listed(line.substr(0, bar));
            table.AddKeptLine(line.substr(0, bar), line.substr(bar + 1));
            return;
        }
        auto [name, periods] = ParseChecked(line, details, written);
        if (name.empty())
            return;
        // The name is the start of the line: the table keeps it as a view into its text.
        const std::string_view kept = line.substr(0, name.size());
        if (listed)
            listed(kept);
        table.AddParsedLine(kept, std::move(periods));
    };
    LineCutter cutter(sink, details);
    // After a read error the line it broke is not handed over; the lines before it are.
    cutter.Feed(text.data(), text.data() + text.size(), read.ok());
    if (table.FinishLines() && details)
        details->whole = false;
    return read;
}

DataFileResult ReadHash(QIODevice& device, quint64& hash)
{
    ContentHash content;
    std::vector<char> chunk(ChunkSize);
    for (qint64 got; (got = device.read(chunk.data(), ChunkSize)) != 0;) {
        if (got < 0)
            return Failure(Step::Read, device);
        content.Add(chunk.data(), static_cast<size_t>(got));
    }
    hash = content.Result();
    return {};
}

DataFileResult OpenDataFile(const QString& path, QFile& file, FileStamp* stamp)
{
    if (path.isEmpty())
        return {DataFileResult::State::Missing, {}};
#ifdef Q_OS_WIN
    const DWORD attributes
        = GetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {DataFileResult::State::Missing, {}};
        return SystemFailure(Step::Open, static_cast<int>(error));
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return NotRegularFailure();
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(Step::Open, file);
    if (stamp)
        *stamp = StampOf(QFileInfo(path));
#else
    // Non-blocking, so that the open of a FIFO without a writer returns at once; a regular file
    // reads the same either way.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {DataFileResult::State::Missing, {}};
        return SystemFailure(Step::Open, errno);
    }
    struct stat status { };
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return SystemFailure(Step::Open, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return NotRegularFailure();
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure(Step::Open, file);
    }
    if (stamp)
        *stamp = StampOf(status);
#endif
    return {};
}

DataFileResult ReadDataFile(const QString& path, const RecordSink& sink, ReadDetails* details)
{
    QFile file;
    const DataFileResult opened = OpenDataFile(path, file);
    if (opened.state != DataFileResult::State::Done)
        return opened;
    return ReadRecords(file, sink, details);
}

DataFileResult WriteRecords(
    QIODevice& device, const SavedRecordMap& records, const RecordOverlay& overlay, quint64* hash)
{
    return WriteMap(device, records, overlay, hash);
}

DataFileResult WriteRecords(
    QIODevice& device, const RecordTable& records, const RecordOverlay& overlay, quint64* hash)
{
    return WriteMap(device, records, overlay, hash);
}

DataFileResult WriteDataFile(
    const QString& path, const SavedRecordMap& records, const RecordOverlay& overlay, FileStamp* written)
{
    return WriteMapToFile(path, records, overlay, written);
}

DataFileResult WriteDataFile(
    const QString& path, const RecordTable& records, const RecordOverlay& overlay, FileStamp* written)
{
    return WriteMapToFile(path, records, overlay, written);
}

DataFileResult CopyDataFile(const QString& from, const QString& to)
{
    QFile source;
    const DataFileResult opened = OpenDataFile(from, source);
    if (opened.state == DataFileResult::State::Missing)
        return Failure(Step::Open, QFileDevice::OpenError, QString());
    if (!opened.ok())
        return opened;
    QFile copy(to);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failure(Step::Create, copy);
    DataFileResult result;
    std::vector<char> chunk(ChunkSize);
    for (qint64 got; result.ok() && (got = source.read(chunk.data(), ChunkSize)) != 0;) {
        if (got < 0)
            result = Failure(Step::Read, source);
        else if (copy.write(chunk.data(), got) != got)
            result = Failure(Step::Write, copy);
    }
    if (result.ok() && !copy.flush())
        result = Failure(Step::Write, copy);
    if (result.ok() && !SyncToDisk(copy))
        result = SystemFailure(Step::Write, LastSystemError());
    copy.close();
    if (!result.ok())
        copy.remove();
    return result;
}
