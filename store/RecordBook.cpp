#include "RecordBook.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>

namespace {

// How each failure of the book reads to the user, inside the window's own Russian message.
const char* const BusyText = "файл занят другим окном программы";
const char* const NoPathText = "путь к файлу не задан";
const char* const LockDeniedText = "нет доступа к файлу блокировки %1";
const char* const LockFailedText = "не удалось создать файл блокировки %1";
const char* const BackupFailedText = "не удалось сохранить копию прежнего файла: %1";
const char* const NoBackupNameText = "не удалось создать копию прежнего файла в папке %1";
const char* const NoRecoveryFileText = "не удалось создать файл для записей этого сеанса ни в папке %1, ни в %2";

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

bool SameVersion(const std::optional<IntervalList>& a, const std::optional<IntervalList>& b)
{
    if (!a || !b)
        return !a && !b;
    return SameRecord(*a, *b);
}

// Whether two stamps may be of one version of the file; only the hash can tell for sure.
bool SameOutside(FileStamp a, FileStamp b)
{
    a.hash = b.hash = 0;
    return a == b;
}

// QLockFile guards the removal of a stale lock with a second lock file beside it: "u.ini.lock.rmlock",
// and for a stale one of those "u.ini.lock.rmlock.rmlock", and so on.
const char* const RemovalLockSuffix = ".rmlock";

// How long the creator of a lock file may take to write who holds it.
constexpr qint64 LockCreationMs = 1000;

// Removes the lock file if no process holds it: QLockFile holds a native lock on it for as long
// as it holds the lock.
void RemoveIfUnheld(const QString& path)
{
#ifdef Q_OS_WIN
    // Windows refuses to delete a file that its holder keeps open.
    QFile::remove(path);
#else
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    struct flock range { };
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fcntl(fd, F_SETLK, &range) == 0)
        ::unlink(name.constData());
    ::close(fd);
#endif
}

// A process killed between creating a lock file and writing its process id into it leaves a
// lock that QLockFile takes for a live one until its stale time (30 s) has passed. Such a file,
// older than its creator needs and held by no one, is removed; so is one guarding the removal.
void RemoveAbandonedLocks(const QString& lockPath)
{
    for (QString path = lockPath; QFileInfo::exists(path); path += QLatin1String(RemovalLockSuffix)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        bool named = false;
        const qint64 pid = file.readLine().trimmed().toLongLong(&named);
        file.close();
        if (named && pid > 0)
            continue; // QLockFile tells whether that process lives
        const QDateTime written = QFileInfo(path).lastModified();
        if (qAbs(written.msecsTo(QDateTime::currentDateTime())) > LockCreationMs)
            RemoveIfUnheld(path);
    }
}

// What killed writes left behind: WriteDataFile's temporary files, and QLockFile's guards of a
// stale lock's removal. Only called while the lock is held: no other write is under way, and no
// other window has reason to remove this lock.
void RemoveLeftovers(const QString& path, const QString& lockPath)
{
    const QFileInfo data(path);
    const QString prefix = data.fileName() + QLatin1String(TemporaryFilePrefix);
    const QString guard = QFileInfo(lockPath).fileName() + QLatin1String(RemovalLockSuffix);
    QDir folder = data.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        if (name.startsWith(guard)) {
            const QStringView rest = QStringView(name).sliced(guard.size());
            if (rest.size() % 7 == 0 && rest == QString(QLatin1String(RemovalLockSuffix)).repeated(rest.size() / 7))
                folder.remove(name);
            continue;
        }
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        const QStringView letters = QStringView(name).sliced(prefix.size());
        if (std::all_of(letters.begin(), letters.end(),
                [](QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }))
            folder.remove(name);
    }
}

// The folder of the per-user data file is made on the first write there.
void MakeFolderOf(const QString& path, const QString& userFolder)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!userFolder.isEmpty() && folder == QDir(userFolder).absolutePath())
        QDir().mkpath(folder);
}

} // namespace

QString CreateFreeFile(const QString& folder, const QString& fileName, const QString& suffix)
{
    const QString base = QDir(folder).filePath(fileName);
    const QString dated = base + u'.' + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = attempt == 0 ? base + suffix
            : attempt == 1                ? dated + suffix
                                          : QStringLiteral("%1-%2%3").arg(dated).arg(attempt).arg(suffix);
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (!file.exists())
            return {};
    }
    return {};
}

RecordBook::RecordBook(DataFileLocation location)
    : m_location(std::move(location))
{
    if (m_location.readPath.isEmpty())
        m_location.readPath = m_location.path;
}

DataFileResult RecordBook::Load(const NameSink& listed)
{
    QFile file;
    FileStamp stamp;
    const DataFileResult opened = OpenDataFile(m_location.readPath, file, &stamp);
    if (opened.state == DataFileResult::State::Missing)
        return opened;
    if (!opened.ok()) {
        m_unreadable = true;
        return opened;
    }
    ReadDetails details;
    const DataFileResult read = ReadRecordTable(file, m_records, listed, &details);
    if (!read.ok()) {
        m_unreadable = true;
        return read;
    }
    // A file read in place of the per-user one is never replaced: it cannot lose anything.
    if (m_location.readPath == m_location.path) {
        m_stamp = stamp;
        m_stamp.hash = details.hash;
        m_fileWhole = details.whole;
    }
    return read;
}

void RecordBook::Save(const AnsiString& name, const IntervalList& periods)
{
    if (!m_origins.contains(name)) {
        const std::optional<RecordView> found = m_records.Find(name);
        m_origins.emplace(name, found ? Version(PeriodsOf(*found)) : Version());
    }
    m_records.Save(name, periods);
}

void RecordBook::Erase(const AnsiString& name)
{
    const std::optional<RecordView> found = m_records.Find(name);
    if (!found)
        return;
    if (!m_origins.contains(name))
        m_origins.emplace(name, PeriodsOf(*found));
    m_records.Erase(name);
}

BookWrite RecordBook::Write()
{
    if (m_unreadable)
        return WriteRecovery();
    const QString& path = m_location.path;
    if (path.isEmpty())
        return {BookWrite::State::Failed, Text(NoPathText), path, {}};
    MakeFolderOf(path, m_location.userFolder);
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    const QDeadlineTimer deadline(m_lockWait);
    for (;;) {
        RemoveAbandonedLocks(lockPath);
        const qint64 round = std::min<qint64>(deadline.remainingTime(), 100);
        if (lock.tryLock(static_cast<int>(round)) || lock.error() != QLockFile::LockFailedError
            || deadline.hasExpired())
            break;
    }
    if (!lock.isLocked()) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            return {BookWrite::State::Busy, Text(BusyText), path, {}};
        case QLockFile::PermissionError:
            return {BookWrite::State::Failed, Text(LockDeniedText).arg(QDir::toNativeSeparators(lockPath)), path, {}};
        default:
            return {BookWrite::State::Failed, Text(LockFailedText).arg(QDir::toNativeSeparators(lockPath)), path, {}};
        }
    }
    RemoveLeftovers(path, lockPath);
    return WriteLocked();
}

BookWrite RecordBook::WriteLocked()
{
    const QString& path = m_location.path;
    const auto failed = [&](const QString& reason) { return BookWrite{BookWrite::State::Failed, reason, path, {}}; };

    // What the file holds now; a file that vanished leaves what this window knew of it.
    QFile file;
    FileStamp stamp;
    const DataFileResult opened = OpenDataFile(path, file, &stamp);
    if (!opened.ok())
        return failed(opened.reason);
    const bool exists = opened.state == DataFileResult::State::Done;
    if (exists) {
        bool same = SameOutside(stamp, m_stamp);
        if (same) {
            const DataFileResult hashed = ReadHash(file, stamp.hash);
            if (!hashed.ok())
                return failed(hashed.reason);
            same = stamp.hash == m_stamp.hash;
        }
        if (!same) {
            file.seek(0);
            const DataFileResult read = Reread(file, stamp);
            if (!read.ok())
                return failed(read.reason);
        }
    }

    RecordOverlay overlay;
    for (const auto& [name, version] : m_others) {
        if (!m_origins.contains(name))
            overlay.emplace(name, version ? &*version : nullptr);
    }
    // A changed name the file holds otherwise than this window knew it: another window changed it too.
    std::vector<KeptVersion> kept;
    for (const auto& [name, origin] : m_origins) {
        const auto other = m_others.find(name);
        if (other == m_others.end() || !other->second)
            continue;
        const std::optional<RecordView> mine = m_records.Find(name);
        if (mine && SameRecord(*mine, *other->second))
            continue;
        const AnsiString keptAs = FreeCopyName(name, overlay);
        overlay.emplace(keptAs, &*other->second);
        kept.push_back({name, keptAs});
    }

    if (exists && !m_fileWhole && !(m_backedUp.exists && SameOutside(m_backedUp, stamp))) {
        const QFileInfo data(path);
        const QString backup = CreateFreeFile(data.absolutePath(), data.fileName(), QStringLiteral(".bak"));
        if (backup.isEmpty())
            return failed(Text(NoBackupNameText).arg(QDir::toNativeSeparators(data.absolutePath())));
        const DataFileResult copied = CopyDataFile(path, backup);
        if (!copied.ok()) {
            QFile::remove(backup);
            return failed(Text(BackupFailedText).arg(copied.reason));
        }
        m_backups.append(backup);
        m_backedUp = stamp;
    }

    FileStamp written;
    const DataFileResult result = WriteDataFile(path, m_records, overlay, &written);
    if (!result.ok())
        return failed(result.reason);

    // The file now holds this window's records with the others laid over them.
    for (const KeptVersion& copy : kept) {
        auto node = m_others.extract(copy.name);
        m_others.emplace(copy.keptAs, std::move(node.mapped()));
    }
    for (const auto& [name, origin] : m_origins)
        m_others.erase(name);
    m_origins.clear();
    m_stamp = written;
    m_fileWhole = true;
    return {BookWrite::State::Done, {}, path, std::move(kept)};
}

DataFileResult RecordBook::Reread(QFile& file, FileStamp stamp)
{
    RecordTable disk;
    ReadDetails details;
    const DataFileResult read = ReadRecordTable(file, disk, {}, &details);
    if (!read.ok())
        return read;

    // One walk through both, in key order: every name where the file and this window differ.
    // Records both keep as read compare as their bytes, unparsed.
    std::map<AnsiString, Version, std::less<>> others;
    auto onDisk = disk.begin();
    auto mine = m_records.begin();
    while (onDisk != disk.end() || mine != m_records.end()) {
        if (mine == m_records.end() || (onDisk != disk.end() && onDisk->name < mine->name)) {
            const RecordView theirs = *onDisk;
            if (!m_origins.contains(theirs.name))
                others.emplace(theirs.name, PeriodsOf(theirs));
            ++onDisk;
        } else if (onDisk == disk.end() || mine->name < onDisk->name) {
            const std::string_view name = mine->name;
            if (!m_origins.contains(name))
                others.emplace(name, Version());
            ++mine;
        } else {
            const RecordView theirs = *onDisk;
            if (!m_origins.contains(theirs.name) && !SameRecord(*mine, theirs))
                others.emplace(theirs.name, PeriodsOf(theirs));
            ++onDisk;
            ++mine;
        }
    }
    // A name this window changed is measured against the version it changed.
    for (const auto& [name, origin] : m_origins) {
        const std::optional<RecordView> found = disk.Find(name);
        Version version = found ? Version(PeriodsOf(*found)) : Version();
        if (!SameVersion(version, origin))
            others.emplace(name, std::move(version));
    }

    m_others = std::move(others);
    m_stamp = stamp;
    m_stamp.hash = details.hash;
    m_fileWhole = details.whole;
    return read;
}

AnsiString RecordBook::FreeCopyName(const AnsiString& name, const RecordOverlay& overlay) const
{
    for (int number = 2;; ++number) {
        AnsiString candidate = name + " (" + std::to_string(number) + ")";
        const auto over = overlay.find(candidate);
        const bool taken = over != overlay.end() ? over->second != nullptr : m_records.Contains(candidate);
        if (!taken)
            return candidate;
    }
}

BookWrite RecordBook::WriteRecovery()
{
    if (m_recoveryPath.isEmpty()) {
        if (!HasUnwrittenChanges())
            return {};
        const QFileInfo data(m_location.path);
        const QString suffix = QStringLiteral(".recovery");
        m_recoveryPath = CreateFreeFile(data.absolutePath(), data.fileName(), suffix);
        if (m_recoveryPath.isEmpty() && !m_location.userFolder.isEmpty()) {
            QDir().mkpath(m_location.userFolder);
            m_recoveryPath = CreateFreeFile(m_location.userFolder, data.fileName(), suffix);
        }
        if (m_recoveryPath.isEmpty()) {
            return {BookWrite::State::Failed,
                Text(NoRecoveryFileText)
                    .arg(
                        QDir::toNativeSeparators(data.absolutePath()), QDir::toNativeSeparators(m_location.userFolder)),
                m_location.path, {}};
        }
    }
    const DataFileResult result = WriteDataFile(m_recoveryPath, m_records);
    if (!result.ok())
        return {BookWrite::State::Failed, result.reason, m_recoveryPath, {}};
    m_origins.clear();
    return {BookWrite::State::Done, {}, m_recoveryPath, {}};
}
