#pragma once

#include "SavedRecords.h"

#include <QString>

#include <functional>

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

// Receives every record line of a data file, in file order (a name on two lines arrives twice).
using RecordSink = std::function<void(AnsiString name, IntervalList periods)>;

// Reads record lines in one pass, one line in memory at a time. LF ends a line, a CR just
// before it is dropped, a last line without LF counts (a CR ending it is dropped too), blank
// lines and lines that give no record are skipped. Stops at a read error and reports it as Failed; lines before it were
// already handed over.
DataFileResult ReadRecords(QIODevice& device, const RecordSink& sink);
DataFileResult ReadDataFile(const QString& path, const RecordSink& sink);

// Writes every record in ascending key order, each line ending in CR LF; an empty map writes
// zero bytes. WriteDataFile replaces the file atomically, only after every byte was written and
// synced to disk: on any failure the previous file stays as it was, byte for byte, no temporary
// file is left behind, and the result says why.
DataFileResult WriteRecords(QIODevice& device, const SavedRecordMap& records);
DataFileResult WriteDataFile(const QString& path, const SavedRecordMap& records);
