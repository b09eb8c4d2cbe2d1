#include "RecordBook.h"
#include "ChildProcess.h"
#include "DataFile.h"
#include "SaveProcess.h"
#include "TestFiles.h"
#include "Win1251.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <chrono>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

IntervalList Periods(const char* name)
{
    return {Interval(name, MDate("01.01.2000"), MDate("31.12.2000"))};
}

// The bytes the writer gives for these records.
QByteArray FileOf(const SavedRecordMap& records)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    WriteRecords(device, records);
    return bytes;
}

RecordBook LoadedBook(const QString& path, const QString& userFolder = {})
{
    RecordBook book({path, path, userFolder});
    book.SetLockWait(200ms);
    EXPECT_TRUE(book.Load([](std::string_view) {}).ok()) << path.toStdString();
    return book;
}

// The book's record of that name, which the test knows to be there.
RecordView Record(const RecordBook& book, std::string_view name)
{
    const std::optional<RecordView> record = book.Records().Find(name);
    EXPECT_TRUE(record.has_value()) << name;
    return record.value_or(RecordView{});
}

// Kept as its line's bytes, not parsed.
bool IsLazy(const RecordView& record)
{
    return record.periods == nullptr;
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

std::string Names(const std::vector<KeptVersion>& kept)
{
    std::string text;
    for (const KeptVersion& k : kept)
        text += k.name + "->" + k.keptAs + ";";
    return text;
}

// Two windows loaded one file; each saves a record and deletes another it loaded, writing after
// every command, then closes (writes once more). In every order of their steps every record of
// both survives and every delete holds.
TEST(RecordBook, TwoWindowsKeepEveryRecordInEveryOrder)
{
    SavedRecordMap initial;
    for (const char* name : {"Common1", "Common2", "Common3", "Keep"})
        initial[name] = Periods("old");
    SavedRecordMap expected = initial;
    expected.erase("Common1");
    expected.erase("Common2");
    expected["Common3"] = Periods("B's");
    expected["A1"] = Periods("a1");

    using Step = std::function<void(RecordBook&)>;
    const Step close = [](RecordBook&) {};
    const std::vector<Step> steps[2] = {
        {[](RecordBook& a) { a.Save("A1", Periods("a1")); }, [](RecordBook& a) { a.Erase("Common1"); }, close},
        {[](RecordBook& b) { b.Save("Common3", Periods("B's")); }, [](RecordBook& b) { b.Erase("Common2"); }, close},
    };
    int orders = 0;
    for (unsigned order = 0; order < 64; ++order) {
        if (std::popcount(order) != 3)
            continue;
        ++orders;
        QTemporaryDir folder;
        const QString path = folder.filePath("u.ini");
        WriteFileBytes(path, FileOf(initial));
        RecordBook books[2] = {LoadedBook(path), LoadedBook(path)};
        size_t next[2] = {0, 0};
        for (int i = 0; i < 6; ++i) {
            const int window = (order >> i) & 1;
            steps[window][next[window]++](books[window]);
            const BookWrite written = books[window].Write();
            ASSERT_TRUE(written.ok()) << order << ": " << written.reason.toStdString();
            EXPECT_TRUE(written.kept.empty()) << order;
        }
        EXPECT_EQ(ReadFileBytes(path), FileOf(expected)) << "order " << order;
        EXPECT_EQ(FilesIn(folder.path()), QStringList{"u.ini"}) << order;
    }
    EXPECT_EQ(orders, 20);
}

// A record both windows changed since they loaded it keeps the version of the window that writes
// last; the other version stays under a name of its own, and that window learns which.
TEST(RecordBook, RecordsBothChangedKeepBothVersions)
{
    struct Case {
        const char* what;
        std::function<BookWrite(RecordBook& a, RecordBook& b)> run; // returns b's last write
        std::vector<std::pair<const char*, const char*>> file; // name, period name
        const char* kept;
    };
    const auto write = [](RecordBook& book) {
        const BookWrite result = book.Write();
        EXPECT_TRUE(result.ok()) << result.reason.toStdString();
        return result;
    };
    const Case cases[] = {
        {"both saved",
            [&](RecordBook& a, RecordBook& b) {
                a.Save("X", Periods("a"));
                write(a);
                b.Save("X", Periods("b"));
                return write(b);
            },
            {{"X", "b"}, {"X (2)", "a"}, {"Y", "old"}}, "X->X (2);"},
        {"both saved the same",
            [&](RecordBook& a, RecordBook& b) {
                a.Save("X", Periods("same"));
                write(a);
                b.Save("X", Periods("same"));
                return write(b);
            },
            {{"X", "same"}, {"Y", "old"}}, ""},
        {"deleted here after the other saved",
            [&](RecordBook& a, RecordBook& b) {
                a.Save("X", Periods("a"));
                write(a);
                b.Erase("X");
                return write(b);
            },
            {{"X (2)", "a"}, {"Y", "old"}}, "X->X (2);"},
        {"saved here after the other deleted",
            [&](RecordBook& a, RecordBook& b) {
                a.Erase("X");
                write(a);
                b.Save("X", Periods("b"));
                return write(b);
            },
            {{"X", "b"}, {"Y", "old"}}, ""},
        {"the other's version learnt by an earlier write",
            [&](RecordBook& a, RecordBook& b) {
                a.Save("X", Periods("a"));
                write(a);
                b.Save("Z", Periods("z"));
                EXPECT_TRUE(write(b).kept.empty());
                b.Save("X", Periods("b"));
                return write(b);
            },
            {{"X", "b"}, {"X (2)", "a"}, {"Y", "old"}, {"Z", "z"}}, "X->X (2);"},
        {"a name of its own that is free",
            [&](RecordBook& a, RecordBook& b) {
                a.Save("X (2)", Periods("taken"));
                a.Save("X", Periods("a"));
                write(a);
                b.Save("X", Periods("b"));
                return write(b);
            },
            {{"X", "b"}, {"X (2)", "taken"}, {"X (3)", "a"}, {"Y", "old"}}, "X->X (3);"},
        {"this window's own earlier version is no conflict",
            [&](RecordBook&, RecordBook& b) {
                b.Save("X", Periods("first"));
                write(b);
                b.Save("X", Periods("second"));
                return write(b);
            },
            {{"X", "second"}, {"Y", "old"}}, ""},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString path = folder.filePath("u.ini");
        WriteFileBytes(path, "X|old,01.01.2000,31.12.2000&\r\nY|old,01.01.2000,31.12.2000&\r\n");
        RecordBook a = LoadedBook(path);
        RecordBook b = LoadedBook(path);
        const BookWrite last = c.run(a, b);
        SavedRecordMap expected;
        for (const auto& [name, period] : c.file)
            expected[name] = Periods(period);
        EXPECT_EQ(ReadFileBytes(path), FileOf(expected)) << c.what;
        EXPECT_EQ(Names(last.kept), c.kept) << c.what;
        // The window's own records are not rebuilt from the other's file.
        for (const KeptVersion& kept : last.kept)
            EXPECT_FALSE(b.Records().Contains(kept.keptAs)) << c.what;
    }
}

// While another live window holds the lock, nothing is written and the change waits; once the
// lock is free the next write takes it.
// Records read from lines the writer would write are kept as their bytes until opened or changed;
// a record nobody touched is written back byte for byte, one read from any other line as
// formatted from its parse.
TEST(RecordBook, UntouchedRecordsAreWrittenBackAsTheirBytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path,
        "A|p,01.01.2000,31.12.2000&q,  .  .    ,5/5/2005&\r\n"
        "B|p,,31.12.2000&\r\n" // an empty date is written as 0.0.0
        "C|\r\n"
        "D|p,01.01.2000,31.12.2000&\r\n"
        "E|p,01.01.2000,31.12.2000&\r\n");
    RecordBook book = LoadedBook(path);
    ASSERT_EQ(book.Records().Size(), 5u);
    const std::map<AnsiString, bool> lazy = {{"A", true}, {"B", false}, {"C", true}, {"D", true}, {"E", true}};
    for (const RecordView& record : book.Records())
        EXPECT_EQ(IsLazy(record), lazy.at(AnsiString(record.name))) << record.name;

    // Opening a lazy record gives its periods and leaves it as it was.
    const IntervalList opened = PeriodsOf(Record(book, "A"));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].name, "q");
    EXPECT_EQ(opened[1].from.text, "  .  .    ");
    EXPECT_EQ(opened[1].to, MDate("5/5/2005"));
    EXPECT_TRUE(IsLazy(Record(book, "A")));

    book.Save("D", Periods("changed"));
    book.Erase("E");
    EXPECT_FALSE(IsLazy(Record(book, "D")));
    EXPECT_EQ(PeriodsOf(Record(book, "D"))[0].name, "changed");
    EXPECT_FALSE(book.Records().Contains("E"));
    EXPECT_EQ(book.Records().Size(), 4u);
    ASSERT_TRUE(book.Write().ok());
    EXPECT_EQ(ReadFileBytes(path),
        "A|p,01.01.2000,31.12.2000&q,  .  .    ,5/5/2005&\r\n"
        "B|p,0.0.0,31.12.2000&\r\n"
        "C|\r\n"
        "D|changed,01.01.2000,31.12.2000&\r\n");

    // An erased record saved again is written from its periods.
    book.Save("E", Periods("p"));
    ASSERT_TRUE(book.Write().ok());
    EXPECT_EQ(ReadFileBytes(path),
        "A|p,01.01.2000,31.12.2000&q,  .  .    ,5/5/2005&\r\n"
        "B|p,0.0.0,31.12.2000&\r\n"
        "C|\r\n"
        "D|changed,01.01.2000,31.12.2000&\r\n"
        "E|p,01.01.2000,31.12.2000&\r\n");
}

// The merge with another window's file compares lazy records by their bytes: a lazy record the
// other window changed takes its version, one both changed keeps both, an untouched one stays.
TEST(RecordBook, LazyRecordsMergeWithAnotherWindowsFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path,
        "Both|old,01.01.2000,31.12.2000&\r\n"
        "Keep|old,01.01.2000,31.12.2000&\r\n"
        "Theirs|old,01.01.2000,31.12.2000&\r\n");
    RecordBook mine = LoadedBook(path);
    RecordBook theirs = LoadedBook(path);
    for (const RecordView& record : mine.Records())
        ASSERT_TRUE(IsLazy(record)) << record.name;
    theirs.Save("Both", Periods("theirs"));
    theirs.Save("Theirs", Periods("theirs"));
    ASSERT_TRUE(theirs.Write().ok());

    mine.Save("Both", Periods("mine"));
    const BookWrite written = mine.Write();
    ASSERT_TRUE(written.ok()) << written.reason.toStdString();
    EXPECT_EQ(Names(written.kept), "Both->Both (2);");
    EXPECT_EQ(ReadFileBytes(path),
        "Both|mine,01.01.2000,31.12.2000&\r\n"
        "Both (2)|theirs,01.01.2000,31.12.2000&\r\n"
        "Keep|old,01.01.2000,31.12.2000&\r\n"
        "Theirs|theirs,01.01.2000,31.12.2000&\r\n");
    // This window's own records are never rebuilt from the other's file.
    EXPECT_TRUE(IsLazy(Record(mine, "Theirs")));
    EXPECT_EQ(PeriodsOf(Record(mine, "Theirs"))[0].name, "old");
}

TEST(RecordBook, ALockHeldByAnotherWindowMakesTheWriteWait)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path, "A|\r\n");
    RecordBook book = LoadedBook(path);
    book.Save("B", {});
    QLockFile other(path + ".lock");
    ASSERT_TRUE(other.tryLock(0));
    const auto start = std::chrono::steady_clock::now();
    const BookWrite busy = book.Write();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_EQ(busy.state, BookWrite::State::Busy);
    EXPECT_FALSE(busy.reason.isEmpty());
    EXPECT_TRUE(book.HasUnwrittenChanges());
    EXPECT_EQ(ReadFileBytes(path), "A|\r\n");

    other.unlock();
    ASSERT_TRUE(book.Write().ok());
    EXPECT_FALSE(book.HasUnwrittenChanges());
    EXPECT_EQ(ReadFileBytes(path), "A|\r\nB|\r\n");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"u.ini"});
}

// A window killed while it held the lock leaves the lock file behind; the next write takes it
// over at once instead of waiting for it.
TEST(RecordBook, TheLockOfAKilledWindowIsTakenOver)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path, "A|\r\n");
    RecordBook book = LoadedBook(path);
    {
        ChildProcess holder(SAVE_PROCESS, {"hold-lock", path.toStdString()});
        ASSERT_TRUE(holder.started());
        ASSERT_EQ(holder.ReadLine(5s), "locked");
        holder.Signal(SIGKILL);
        ASSERT_TRUE(holder.Wait(5s));
    }
    ASSERT_TRUE(QFile::exists(path + ".lock"));
    book.Save("B", {});
    const BookWrite written = book.Write();
    ASSERT_TRUE(written.ok()) << written.reason.toStdString();
    EXPECT_EQ(ReadFileBytes(path), "A|\r\nB|\r\n");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"u.ini"});

    // Killed before it wrote its process id: an empty lock, and an empty guard of a removal.
    const auto abandon = [](const QString& lock) {
        WriteFileBytes(lock, {});
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
    };
    abandon(path + ".lock");
    abandon(path + ".lock.rmlock");
    book.Save("C", {});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(book.Write().ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_EQ(ReadFileBytes(path), "A|\r\nB|\r\nC|\r\n");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"u.ini"});
}

// A window killed at any moment of its save leaves the old file or the new one, whole; the
// next window's write clears what the killed one left (a temporary file, its lock).
TEST(RecordBook, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    SavedRecordMap records;
    for (int i = 0; i < 5000; ++i)
        records["record " + std::to_string(i)] = Periods("period");
    const SavedRecordMap old = records;
    const QByteArray before = FileOf(old);
    const auto reset = [&] { ASSERT_TRUE(WriteDataFile(path, old).ok()); };
    records["new"] = SaveProcessPeriods();
    const QByteArray after = FileOf(records);

    // How long the write takes, from the moment the process is ready to write.
    reset();
    ASSERT_EQ(ReadFileBytes(path), before);
    std::chrono::microseconds writing{};
    {
        ChildProcess save(SAVE_PROCESS, {"save", path.toStdString(), "new"});
        ASSERT_EQ(save.ReadLine(10s), "ready");
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(save.ReadLine(10s), "done");
        writing = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        ASSERT_TRUE(save.Wait(5s));
        ASSERT_EQ(ReadFileBytes(path), after);
    }

    std::mt19937 random(7);
    std::uniform_int_distribution<long> moment(0, writing.count() * 5 / 4);
    int killedPartWay = 0;
    int newFiles = 0;
    for (int trial = 0; trial < 100; ++trial) {
        reset();
        ChildProcess save(SAVE_PROCESS, {"save", path.toStdString(), "new"});
        ASSERT_EQ(save.ReadLine(10s), "ready") << trial;
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        save.Signal(SIGKILL);
        const std::optional<int> status = save.Wait(5s);
        ASSERT_TRUE(status) << trial;
        killedPartWay += WIFSIGNALED(*status) ? 1 : 0;
        const QByteArray bytes = ReadFileBytes(path);
        ASSERT_TRUE(bytes == before || bytes == after) << "trial " << trial << ": " << bytes.size() << " bytes";
        newFiles += bytes == after ? 1 : 0;
    }
    EXPECT_GT(killedPartWay, 0) << "no process was killed before it ended";
    std::cout << "killed part-way: " << killedPartWay << ", new file: " << newFiles << " of 100\n";

    // The next window's write takes over the lock and removes the killed writes' temporary files.
    QFile::remove(path);
    WriteFileBytes(path, before);
    RecordBook next = LoadedBook(path);
    next.SetLockWait(3s);
    next.Save("new", SaveProcessPeriods());
    const BookWrite written = next.Write();
    ASSERT_TRUE(written.ok()) << written.reason.toStdString();
    EXPECT_EQ(ReadFileBytes(path), after);
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"u.ini"});
}

// Before the first write that would drop what the reader skipped, the file as it was is kept
// beside it; a file of the writer's own bytes needs no copy.
TEST(RecordBook, WhatTheReaderSkippedIsBackedUpBeforeTheFirstWrite)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        std::vector<const char*> names; // what the window lists
        bool backup;
    };
    const Case cases[] = {
        {"CR alone", "A|x,1.1.1,2.2.2&\rB|\rC|\r", {"A", "B", "C"}, true},
        {"unreadable lines", "A|\r\nno bar here\r\nB|\r\n", {"A", "B"}, true},
        {"a name on two lines", "A|x,1.1.1,2.2.2&\r\nA|\r\n", {"A", "A"}, true},
        {"text after a second bar", "A|x,1.1.1,2.2.2&|note\r\n", {"A"}, true},
        {"zero bytes", QByteArray("A|\r\n") + QByteArray(64, '\0') + "B|\r\nC|\r\n", {"A", "C"}, true},
        {"LF alone", "A|\nB|\n", {"A", "B"}, false},
        {"the writer's own", "A|x,1.1.1,2.2.2&\r\nB|\r\n", {"A", "B"}, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString path = folder.filePath("u.ini");
        WriteFileBytes(path, c.bytes);
        RecordBook book({path, path, {}});
        std::vector<AnsiString> listed;
        ASSERT_TRUE(book.Load([&](std::string_view name) { listed.emplace_back(name); }).ok()) << c.what;
        EXPECT_EQ(listed, std::vector<AnsiString>(c.names.begin(), c.names.end())) << c.what;

        book.Save("New", {});
        ASSERT_TRUE(book.Write().ok()) << c.what;
        const QString backup = folder.filePath("u.ini.bak");
        EXPECT_EQ(book.BackupPaths(), c.backup ? QStringList{backup} : QStringList{}) << c.what;
        if (c.backup) {
            EXPECT_EQ(ReadFileBytes(backup), c.bytes) << c.what;
        }
        // The file is the writer's own now: no second copy.
        book.Erase("New");
        ASSERT_TRUE(book.Write().ok()) << c.what;
        EXPECT_EQ(book.BackupPaths().size(), c.backup ? 1 : 0) << c.what;
    }
}

// A backup never replaces an older one, and a write that waits for the lock copies nothing yet.
TEST(RecordBook, ABackupTakesADatedNameBesideAnOlderOne)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    const QByteArray bytes = "A|\rB|\r";
    WriteFileBytes(path, bytes);
    WriteFileBytes(folder.filePath("u.ini.bak"), "older backup");
    RecordBook book = LoadedBook(path);
    book.Save("C", {});
    QLockFile other(path + ".lock");
    ASSERT_TRUE(other.tryLock(0));
    EXPECT_EQ(book.Write().state, BookWrite::State::Busy);
    other.unlock();
    ASSERT_TRUE(book.Write().ok());
    ASSERT_EQ(book.BackupPaths().size(), 1);
    const QString backup = QFileInfo(book.BackupPaths().first()).fileName();
    EXPECT_TRUE(backup.startsWith("u.ini.") && backup.endsWith(".bak") && backup != "u.ini.bak")
        << backup.toStdString();
    EXPECT_EQ(ReadFileBytes(book.BackupPaths().first()), bytes);
    EXPECT_EQ(ReadFileBytes(folder.filePath("u.ini.bak")), "older backup");
    EXPECT_EQ(ReadFileBytes(path), "A|\r\nB|\r\nC|\r\n");
}

// Only the temporary files of the data file's own writes are removed, never a file a person
// named alike.
TEST(RecordBook, LeftoversOfKilledWritesAreRemoved)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path, "A|\r\n");
    const QStringList leftovers{"u.ini.~AbCdEf", "u.ini.~zzzzzz", "u.ini.lock.rmlock", "u.ini.lock.rmlock.rmlock"};
    const QStringList others{
        "u.ini.backup", "u.ini.AbCdEf", "u.ini.~AbCd1f", "u.ini.~AbCdEfG", "v.ini.~AbCdEf", "u.ini.lock.rmlock.old"};
    for (const QString& name : leftovers + others)
        WriteFileBytes(folder.filePath(name), "x");
    RecordBook book = LoadedBook(path);
    book.Save("B", {});
    ASSERT_TRUE(book.Write().ok());
    QStringList expected = others;
    expected.append("u.ini");
    expected.sort();
    EXPECT_EQ(FilesIn(folder.path()), expected);
}

// A file that exists but cannot be read is never written; the records saved in the run go to a
// recovery file beside it, or in the per-user folder when its folder takes no file.
TEST(RecordBook, AnUnreadableFileIsLeftAloneAndTheRunsRecordsRecovered)
{
    QTemporaryDir folder;
    const QString regular = folder.filePath("regular");
    WriteFileBytes(regular, "not a folder");
    const QString userFolder = folder.filePath("user");
    struct Case {
        const char* what;
        QString path;
        QString recovery;
    };
    const Case cases[] = {
        {"a folder", folder.filePath("folder/u.ini"), folder.filePath("folder/u.ini.recovery")},
        {"a path through a regular file", regular + "/u.ini", userFolder + "/u.ini.recovery"},
    };
    ASSERT_TRUE(QDir().mkpath(folder.filePath("folder/u.ini")));
    for (const Case& c : cases) {
        RecordBook book({c.path, c.path, userFolder});
        const DataFileResult loaded = book.Load([](std::string_view) {});
        EXPECT_EQ(loaded.state, DataFileResult::State::Failed) << c.what;
        // Nothing saved, nothing written.
        ASSERT_TRUE(book.Write().ok()) << c.what;
        EXPECT_TRUE(book.RecoveryPath().isEmpty()) << c.what;

        book.Save("A", Periods("a"));
        const BookWrite written = book.Write();
        ASSERT_TRUE(written.ok()) << c.what << ": " << written.reason.toStdString();
        EXPECT_EQ(written.path, c.recovery) << c.what;
        EXPECT_EQ(book.RecoveryPath(), c.recovery) << c.what;
        book.Save("B", {});
        ASSERT_TRUE(book.Write().ok()) << c.what;
        EXPECT_EQ(ReadFileBytes(c.recovery), "A|a,01.01.2000,31.12.2000&\r\nB|\r\n") << c.what;
    }
    EXPECT_TRUE(QFileInfo(folder.filePath("folder/u.ini")).isDir());
    EXPECT_EQ(ReadFileBytes(regular), "not a folder");

    // A second unreadable start does not take the first one's recovery file.
    RecordBook again({cases[0].path, cases[0].path, userFolder});
    again.Load([](std::string_view) {});
    again.Save("C", {});
    ASSERT_TRUE(again.Write().ok());
    EXPECT_NE(again.RecoveryPath(), cases[0].recovery);
    EXPECT_EQ(ReadFileBytes(cases[0].recovery), "A|a,01.01.2000,31.12.2000&\r\nB|\r\n");
    EXPECT_EQ(ReadFileBytes(again.RecoveryPath()), "C|\r\n");
}

// A data file removed while the window runs is written again with every record the window
// knows, other windows' included.
TEST(RecordBook, AFileRemovedDuringTheRunIsWrittenAgainWhole)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path, "A|\r\n");
    RecordBook mine = LoadedBook(path);
    RecordBook other = LoadedBook(path);
    other.Save("O", {});
    ASSERT_TRUE(other.Write().ok());
    mine.Save("M", {});
    ASSERT_TRUE(mine.Write().ok());
    ASSERT_TRUE(QFile::remove(path));
    mine.Save("N", {});
    ASSERT_TRUE(mine.Write().ok());
    EXPECT_EQ(ReadFileBytes(path), "A|\r\nM|\r\nN|\r\nO|\r\n");
}

TEST(DataFileLocation, BesideTheProgramWhenItsFolderIsWritable)
{
    QTemporaryDir folder;
    const QString program = folder.filePath("program");
    const QString user = folder.filePath("user");
    ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(user));
    const QString beside = program + "/u.ini";
    const QString perUser = user + "/u.ini";
    const auto writable = [](bool answer) { return [answer](const QString&) { return answer; }; };

    DataFileLocation location = LocateDataFile(program, user, writable(true));
    EXPECT_EQ(location.path, beside);
    EXPECT_EQ(location.readPath, beside);

    // Not writable, no per-user file yet: the records beside the program are read and move.
    location = LocateDataFile(program, user, writable(false));
    EXPECT_EQ(location.path, perUser);
    EXPECT_EQ(location.readPath, beside);
    EXPECT_EQ(location.userFolder, user);

    WriteFileBytes(perUser, "U|\r\n");
    location = LocateDataFile(program, user, writable(false));
    EXPECT_EQ(location.path, perUser);
    EXPECT_EQ(location.readPath, perUser);

    // No per-user folder to fall back to: beside the program, as it is.
    location = LocateDataFile(program, {}, writable(false));
    EXPECT_EQ(location.path, beside);
}

TEST(DataFileLocation, WritableIsTriedNotGuessed)
{
    QTemporaryDir folder;
    EXPECT_TRUE(FolderIsWritable(folder.path()));
    const QString regular = folder.filePath("regular");
    WriteFileBytes(regular, "x");
    EXPECT_FALSE(FolderIsWritable(regular));
    EXPECT_FALSE(FolderIsWritable(folder.filePath("missing")));
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"regular"}) << "the probe is not left behind";
    // Permission bits stop everyone but root, who is tried like anyone else.
    const QString closed = folder.filePath("closed");
    ASSERT_TRUE(QDir().mkpath(closed));
    ASSERT_TRUE(QFile::setPermissions(closed, QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(FolderIsWritable(closed), ::geteuid() == 0);
    QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// In a program folder that is not writable, the records beside the program are read and go
// to the per-user file at the first write; the file beside the program stays as it was.
TEST(DataFileLocation, RecordsMoveToThePerUserFileAtTheFirstWrite)
{
    QTemporaryDir folder;
    const QString program = folder.filePath("program");
    const QString user = folder.filePath("user/Калмир");
    ASSERT_TRUE(QDir().mkpath(program));
    WriteFileBytes(program + "/u.ini", "A|\rB|\r");
    const DataFileLocation location = LocateDataFile(program, user, [](const QString&) { return false; });
    RecordBook book(location);
    std::vector<AnsiString> listed;
    ASSERT_TRUE(book.Load([&](std::string_view name) { listed.emplace_back(name); }).ok());
    EXPECT_EQ(listed, (std::vector<AnsiString>{"A", "B"}));
    book.Save("C", {});
    ASSERT_TRUE(book.Write().ok());
    EXPECT_EQ(ReadFileBytes(user + "/u.ini"), "A|\r\nB|\r\nC|\r\n");
    EXPECT_EQ(ReadFileBytes(program + "/u.ini"), "A|\rB|\r");
    EXPECT_TRUE(book.BackupPaths().isEmpty()) << "the file beside the program is never replaced";

    RecordBook next(LocateDataFile(program, user, [](const QString&) { return false; }));
    listed.clear();
    ASSERT_TRUE(next.Load([&](std::string_view name) { listed.emplace_back(name); }).ok());
    EXPECT_EQ(listed, (std::vector<AnsiString>{"A", "B", "C"}));
}

} // namespace
