#pragma once

#include "DataFile.h"
#include "DataFileLocation.h"
#include "RecordTable.h"
#include "SavedRecords.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QFile;

// A record that this window and another both changed: this window's version stands under the
// name, the other's was kept under a name of its own.
struct KeptVersion {
    AnsiString name;
    AnsiString keptAs; // "name (2)", or the next number that is free
};

// How a write of the records ended.
struct BookWrite {
    enum class State {
        Done,
        Busy, // another window held the data file longer than the lock wait; nothing was written
        Failed, // see reason; nothing was replaced
    };
    State state = State::Done;
    QString reason; // for Busy and Failed, as DataFileResult words it
    QString path; // the file written or tried: the data file, or the recovery file
    std::vector<KeptVersion> kept; // for Done: the records merged so by this write

    bool ok() const { return state == State::Done; }
};

// The saved records of one window and the data file they live in, shared with other windows of
// the program that may be open on the same file. It holds the records as loaded and as this
// window changed them, and knows what the file held when this window last read or wrote it.
// Knows nothing of widgets: every failure is a result with a reason the window shows.
//
// Writes replace the file atomically while holding a lock beside it ("u.ini.lock"). A file
// that changed since this window last read or wrote it (size, times, identity or the hash of its
// bytes) is read again and merged: other windows' records and their saves and deletes stay, this
// window's saves and deletes apply over them, and a record both changed since this window knew it
// keeps this window's version while the other is kept under a name of its own (KeptVersion). The
// window's own records (Records) are never rebuilt from another window's file.
class RecordBook {
public:
    explicit RecordBook(DataFileLocation location);

    // Reads the file once, at start: `listed` gets each record line's name in file order (a
    // name on two lines twice); Records hold the last line of each name. Missing: a first start.
    // Failed: the file exists but cannot be read (reason); it is then never written, and every
    // write goes to a recovery file instead (RecoveryPath).
    DataFileResult Load(const NameSink& listed);

    // This window's records: as loaded, with this window's saves and deletes.
    const RecordTable& Records() const { return m_records; }

    // Adds the record or replaces its periods. Reaches the file at the next Write.
    void Save(const AnsiString& name, const IntervalList& periods);
    // Removes the record; a name that is not a key changes nothing.
    void Erase(const AnsiString& name);
    // Saves or deletes not yet written.
    bool HasUnwrittenChanges() const { return !m_origins.empty(); }

    // Writes the records as merged above. Before the first write that would drop something the
    // reader skipped (unreadable lines, all but the last line of a name, text after a second "|",
    // zero bytes, a lone CR), the file as it was is copied to a backup beside it (BackupPaths);
    // a backup that cannot be made fails the write.
    // Leftover temporary files of killed writes are removed while the lock is held. On Busy or
    // Failed the changes stay, for the next Write. After an unreadable start the records go to
    // the recovery file; with none saved there, nothing is written.
    BookWrite Write();

    // How long a lock held by another live window is waited for; a lock of a process that has
    // died is taken over at once.
    void SetLockWait(std::chrono::milliseconds wait) { m_lockWait = wait; }

    const DataFileLocation& Location() const { return m_location; }
    // The backups made by this book, in order; none when none was needed.
    const QStringList& BackupPaths() const { return m_backups; }
    // The recovery file of an unreadable start, empty until records were written there.
    const QString& RecoveryPath() const { return m_recoveryPath; }

private:
    using Version = std::optional<IntervalList>; // none: the record does not exist

    BookWrite WriteRecovery();
    BookWrite WriteLocked();
    // Reads the file again after another window wrote it, and learns how it differs.
    DataFileResult Reread(QFile& file, FileStamp stamp);
    AnsiString FreeCopyName(const AnsiString& name, const RecordOverlay& overlay) const;

    DataFileLocation m_location;
    RecordTable m_records;
    // The version each name had for this window before its first change not yet written.
    std::map<AnsiString, Version, std::less<>> m_origins;
    // The names where the file, as last read or written, differs from this window's view (for a
    // changed name: from its origin), with the file's version. Normally few: other windows' work.
    std::map<AnsiString, Version, std::less<>> m_others;
    FileStamp m_stamp; // the file as last read or written
    bool m_fileWhole = true; // the file as last read or written holds nothing the reader skips
    bool m_unreadable = false;
    QStringList m_backups;
    FileStamp m_backedUp; // the file the last backup copied: not copied twice
    QString m_recoveryPath;
    std::chrono::milliseconds m_lockWait{3000};
};

// A file beside `path` that did not exist: `path` + `suffix` ("u.ini.bak"), or when that exists a
// dated name ("u.ini.2024-03-15_101502.bak", then "-2", "-3"...). It is created empty, so that no
// other window takes the same name. Returns an empty text when the folder takes no new file.
QString CreateFreeFile(const QString& folder, const QString& fileName, const QString& suffix);
