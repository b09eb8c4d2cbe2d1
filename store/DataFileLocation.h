#pragma once

#include <QString>

#include <functional>

// Where the records are kept.
struct DataFileLocation {
    QString path; // the data file written, and read unless readPath names another
    QString readPath; // the file read at start: path, or the one beside the executable that path takes over
    QString userFolder; // the per-user folder, for a recovery file when path's folder is not writable; may be empty
};

// Whether a file can be created in the folder: tried, not guessed from permission bits, so that
// root, access lists, read-only mounts and network shares all answer truly. A missing folder is
// not writable.
bool FolderIsWritable(const QString& folder);

using FolderCheck = std::function<bool(const QString& folder)>;

// "u.ini" beside the executable when its folder is writable (the data file is replaced through a
// new file beside it, so a writable file in a folder that is not is no use), or when there is no
// per-user folder. Otherwise
// "u.ini" in the per-user folder, which is read at start when it exists, or else the file beside
// the executable is read and its records move to the per-user file at the first write. A
// per-user file whose existence cannot be told counts as existing, so that its failure is
// reported rather than the file shadowed.
DataFileLocation LocateDataFile(
    const QString& programFolder, const QString& userFolder, const FolderCheck& writable = FolderIsWritable);
