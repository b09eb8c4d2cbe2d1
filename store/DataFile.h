#pragma once

#include "RecordTable.h"
#include "SavedRecords.h"

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

class QFile;
class QIODevice;

// How reading or writing the data file ended.
struct DataFileResult {
    enum class State {
        Done, // read or written completely
        Missing, // no file to read: normal on a first start
        Failed, // the file exists but could not be read, or a write failed; see reason
    };
    State state = State::Done;
    // For Failed: what went wrong, fit to show to the user inside a Russian message: the kind of
    // failure in Russian, then the system's own words in brackets, e.g.
    // "не удалось записать файл (No space left on device)".
    QString reason;

    bool ok() const { return state != State::Failed; }
};

// A 64-bit hash of a stream of bytes that does not depend on how the stream is cut into pieces.
// It tells two versions of one file apart within one run; it is no defence against a forger.
class ContentHash {
public:
    void Add(const char* data, size_t size);
    quint64 Result() const;

private:
    static constexpr size_t BlockSize = 64 * 1024;
    std::vector<char> m_pending; // fewer than BlockSize bytes not yet mixed in
    quint64 m_state = 0;
    quint64 m_length = 0;
};

// One version of a file on disk: when two stamps are equal, the file was not replaced or
// rewritten between them.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds, as precise as the file system keeps them
    qint64 changed = 0; // the status change time, where the system has one
    quint64 device = 0;
    quint64 inode = 0;
    quint64 hash = 0; // ContentHash of the bytes

    bool operator==(const FileStamp&) const = default;
};

// How a read went, beside the records it handed over.
struct ReadDetails {
    // Every line reads back as the writer writes it: no line that gives no record, no text the
    // reader skipped within a line, no zero byte and no CR ending a line alone. Empty lines and
    // the line ends themselves do not count. Lines of one name standing twice are not seen here.
    bool whole = true;
    quint64 hash = 0; // ContentHash of every byte read
};

// Receives every record line of a data file, in file order (a name on two lines arrives twice).
using RecordSink = std::function<void(AnsiString name, IntervalList periods)>;

// Reads record lines in one pass, one line in memory at a time. LF, CR LF and a CR alone each end
// a line, a last line without a line end counts, empty lines and lines that give no record are
// skipped. Stops at a read error and reports it as Failed; lines before it were already handed
// over. `details`, when given, says whether the bytes were the writer's own.
DataFileResult ReadRecords(QIODevice& device, const RecordSink& sink, ReadDetails* details = nullptr);

// Receives the name of every record line, in file order.
using NameSink = std::function<void(std::string_view name)>;

// ReadRecords into a window's records: the device is read to its end into the table's text,
// the same lines give the same records, the last line of a name standing, kept as their bytes
// where formatting their parse gives them back (RecordTable). `listed`, when given, gets every
// record line's name in file order. A name on two lines makes the file not whole in `details`.
// A read error is Failed; the records of the lines before it are kept, as ReadRecords hands them.
DataFileResult ReadRecordTable(
    QIODevice& device, RecordTable& table, const NameSink& listed = {}, ReadDetails* details = nullptr);

// Opens the file for reading, but only a regular file: a FIFO, a device or a folder is Failed,
// and opening one never waits. Missing only when no such file exists; any other failure (an I/O
// error, a path through a file) is Failed. `stamp`, when given, gets the opened file's stamp
// without its hash.
DataFileResult OpenDataFile(const QString& path, QFile& file, FileStamp* stamp = nullptr);

// ReadRecords of the file OpenDataFile opens; an empty path is Missing.
DataFileResult ReadDataFile(const QString& path, const RecordSink& sink, ReadDetails* details = nullptr);

// Records to write in place of those of a map, beside them or instead of them: a name with a
// list is written with that list, a name with none (nullptr) is left out.
using RecordOverlay = std::map<AnsiString, const IntervalList*>;

// Writes every record of `records` with `overlay` laid over it, in ascending key order, each
// line ending in CR LF; nothing to write gives zero bytes. `hash`, when given, gets the
// ContentHash of the bytes written.
DataFileResult WriteRecords(
    QIODevice& device, const SavedRecordMap& records, const RecordOverlay& overlay = {}, quint64* hash = nullptr);

// WriteRecords of a window's records; a record kept as read is written as its bytes.
DataFileResult WriteRecords(
    QIODevice& device, const RecordTable& records, const RecordOverlay& overlay = {}, quint64* hash = nullptr);

// Replaces the file atomically with what WriteRecords writes: the bytes go to a temporary file
// beside it (its name, with TemporaryFilePrefix, is one no person gives a file), which is synced
// to disk and renamed over the old one, and the folder is synced after the rename. On any failure
// the previous file stays as it was, byte for byte, no temporary file is left behind, and the
// result says why. A process killed part-way leaves the old file whole and, at worst, a
// temporary file. `written`, when given, gets the stamp of the new file.
DataFileResult WriteDataFile(const QString& path, const SavedRecordMap& records, const RecordOverlay& overlay = {},
    FileStamp* written = nullptr);

// WriteDataFile of a window's records.
DataFileResult WriteDataFile(
    const QString& path, const RecordTable& records, const RecordOverlay& overlay = {}, FileStamp* written = nullptr);

// The temporary files of WriteDataFile for `path` are named `path` + this + six ASCII letters.
inline constexpr const char* TemporaryFilePrefix = ".~";

// Reads the device to its end and gives the ContentHash of its bytes.
DataFileResult ReadHash(QIODevice& device, quint64& hash);

// Copies the file at `from` over the file `to` (which the caller created, empty, to own its name)
// and syncs the copy to disk.
DataFileResult CopyDataFile(const QString& from, const QString& to);
