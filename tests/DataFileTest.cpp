#include "DataFile.h"
#include "RandomRecords.h"
#include "TestFiles.h"
#include "Win1251.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Every record handed over, in order, as "name(period;period)" with the date texts.
struct Collected {
    std::vector<std::string> records;

    RecordSink Sink()
    {
        return [this](AnsiString name, IntervalList periods) {
            std::string text = name + "(";
            for (size_t i = 0; i < periods.size(); ++i)
                text += (i ? ";" : "") + periods[i].name + ',' + periods[i].from.text + ',' + periods[i].to.text;
            records.push_back(text + ")");
        };
    }

    // The same description of every record of a window's table, in key order, a record kept as
    // read parsed from its bytes.
    void Add(const RecordTable& table)
    {
        for (const RecordView& record : table)
            Sink()(AnsiString(record.name), PeriodsOf(record));
    }

    std::string Joined() const
    {
        std::string text;
        for (const std::string& record : records)
            text += (text.empty() ? "" : " ") + record;
        return text;
    }
};

// A literal with its zero bytes.
template <size_t N> QByteArray Raw(const char (&literal)[N])
{
    return QByteArray(literal, static_cast<qsizetype>(N - 1));
}

QByteArray Bytes(const AnsiString& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The user reads the reason: a Russian kind of failure, then the system's words in brackets.
void ExpectReason(const DataFileResult& result, const char* kind)
{
    EXPECT_EQ(result.state, DataFileResult::State::Failed);
    const QString prefix = QString::fromUtf8(kind) + " (";
    EXPECT_TRUE(
        result.reason.startsWith(prefix) && result.reason.endsWith(')') && result.reason.size() > prefix.size() + 1)
        << result.reason.toStdString();
}

SavedRecordMap ExampleRecords()
{
    SavedRecordMap records;
    records[Win1251("Петров")] = {
        Interval(Win1251("Институт"), MDate("01.09.2000"), MDate("30.06.2005")),
        Interval(Win1251("Больница"), MDate("01.07.2005"), MDate("31.12.2012")),
    };
    records[Win1251("Иванов")] = {
        Interval(Win1251("Завод"), MDate("01.09.1995"), MDate("31.08.2001")),
        Interval(Win1251("Школа"), MDate("01.09.2001"), MDate("15.06.2010")),
    };
    return records;
}

const char* const ExampleFile = "Иванов|Завод,01.09.1995,31.08.2001&Школа,01.09.2001,15.06.2010&\r\n"
                                "Петров|Институт,01.09.2000,30.06.2005&Больница,01.07.2005,31.12.2012&\r\n";

TEST(DataFile, ReadsRecordLinesInFileOrder)
{
    struct Case {
        const char* what;
        const char* bytes; // UTF-8, converted to Windows-1251
        const char* records;
    };
    const Case cases[] = {
        {"LF", "A|x,1.1.1,2.2.2&y,3.3.3,4.4.4\nB|\n", "A(x,1.1.1,2.2.2;y,3.3.3,4.4.4) B()"},
        {"CR LF", "A|x,1.1.1,2.2.2&y,3.3.3,4.4.4\r\nB|\r\n", "A(x,1.1.1,2.2.2;y,3.3.3,4.4.4) B()"},
        {"last line without LF", "A|\r\nB|y,3.3.3,4.4.4&", "A() B(y,3.3.3,4.4.4)"},
        {"last line CR without LF", "A|\r\nB|y,3.3.3,4.4.4&z,5.5.5,6.6.6\r", "A() B(y,3.3.3,4.4.4;z,5.5.5,6.6.6)"},
        {"CR alone", "A|x,1.1.1,2.2.2&\rB|\rC|y,3.3.3,4.4.4&\r", "A(x,1.1.1,2.2.2) B() C(y,3.3.3,4.4.4)"},
        {"CR, LF and CR LF mixed", "A|\rB|\nC|\r\n\r\rD|", "A() B() C() D()"},
        {"blank lines", "\r\n\nA|\r\n\r\n\n \r\nB|\n\n", "A() B()"},
        {"zero bytes", "", ""},
        {"one LF", "\n", ""},
        {"a name on two lines", "X|a,1.1.1,2.2.2&\r\nX|b,3.3.3,4.4.4&\r\n", "X(a,1.1.1,2.2.2) X(b,3.3.3,4.4.4)"},
        {"lines out of key order", "B|\r\nA|\r\n", "B() A()"},
        {"lines without a record", "no bar\r\n|x,1.1.1,2.2.2&\r\nA|\r\n", "A()"},
        {"Cyrillic", ExampleFile,
            "Иванов(Завод,01.09.1995,31.08.2001;Школа,01.09.2001,15.06.2010) "
            "Петров(Институт,01.09.2000,30.06.2005;Больница,01.07.2005,31.12.2012)"},
    };
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const Case& c : cases) {
        const QString path = folder.filePath("u.ini");
        WriteFileBytes(path, Bytes(Win1251(c.bytes)));
        Collected collected;
        const DataFileResult result = ReadDataFile(path, collected.Sink());
        EXPECT_EQ(result.state, DataFileResult::State::Done) << c.what;
        EXPECT_EQ(collected.Joined(), Win1251(c.records)) << c.what;
    }
}

// A file of CRs alone larger than one chunk reads every line, also where a CR LF or a CR is cut
// between two chunks.
TEST(DataFile, LineEndsCutBetweenChunksReadAsOne)
{
    for (const char* end : {"\r", "\r\n", "\n"}) {
        QByteArray bytes;
        std::vector<std::string> expected;
        for (int i = 0; bytes.size() < 3 * 64 * 1024; ++i) {
            const std::string name = "record " + std::to_string(i);
            bytes += QByteArray::fromStdString(name + "|p,01.01.2000,02.02.2000&" + end);
            expected.push_back(name + "(p,01.01.2000,02.02.2000)");
        }
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        Collected collected;
        ReadDetails details;
        ASSERT_TRUE(ReadRecords(device, collected.Sink(), &details).ok());
        EXPECT_EQ(collected.records, expected) << "line end " << QByteArray(end).toHex().toStdString();
        EXPECT_EQ(details.whole, std::string(end) != "\r") << "line end " << QByteArray(end).toHex().toStdString();
    }
}

// Whether the writer would give back every byte that mattered: what is not, a backup keeps.
TEST(DataFile, ReadDetailsTellWhetherTheBytesAreTheWritersOwn)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        bool whole;
    };
    const Case cases[] = {
        {"CR LF", "A|x,1.1.1,2.2.2&\r\nB|\r\n", true},
        {"LF alone", "A|x,1.1.1,2.2.2&\nB|\n", true},
        {"no line end at the end", "A|\r\nB|", true},
        {"empty lines", "\r\nA|\r\n\n\r\nB|\r\n", true},
        {"an empty file", "", true},
        {"CR alone", "A|\rB|\r", false},
        {"a line without a bar", "A|\r\nno bar\r\nB|\r\n", false},
        {"a line of blanks", "A|\r\n   \r\n", false},
        {"a line with an empty name", "|x,1.1.1,2.2.2&\r\n", false},
        {"text after a second bar", "A|x,1.1.1,2.2.2&|more\r\n", false},
        {"a period with two fields", "A|x,1.1.1&y,2.2.2,3.3.3&\r\n", false},
        {"a period with four fields", "A|x,1.1.1,2.2.2,3.3.3&\r\n", false},
        {"the last period without its &", "A|x,1.1.1,2.2.2&y,3.3.3,4.4.4\r\n", false},
        {"a zero byte", Raw("A|x,1.1.1,2.2.2&\r\nB\0\0\0|\r\n"), false},
        {"a block of zero bytes", QByteArray(512, '\0') + "A|\r\n", false},
    };
    for (const Case& c : cases) {
        QByteArray bytes = c.bytes;
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        Collected collected;
        ReadDetails details;
        ASSERT_TRUE(ReadRecords(device, collected.Sink(), &details).ok()) << c.what;
        EXPECT_EQ(details.whole, c.whole) << c.what;

        // A window's table of the same lines holds the same records and tells the same.
        device.seek(0);
        RecordTable table;
        ReadDetails tableDetails;
        ASSERT_TRUE(ReadRecordTable(device, table, {}, &tableDetails).ok()) << c.what;
        Collected fromTable;
        fromTable.Add(table);
        EXPECT_EQ(fromTable.records, collected.records) << c.what;
        EXPECT_EQ(tableDetails.whole, c.whole) << c.what;
        EXPECT_EQ(tableDetails.hash, details.hash) << c.what;
    }
}

// A window's records are kept as the bytes of their lines where formatting the parse gives them
// back, and parsed at once where it does not; both write back as the plain map does.
TEST(DataFile, LazyRecordsWriteBackAsTheParsedOnes)
{
    QByteArray bytes = "A|x,01.01.2000,02.02.2000&y,  .  .    ,3/3/2003&\r\n" // kept
                       "B|\r\n" // kept: no periods
                       "C|x,,02.02.2000&\r\n" // parsed: an empty date is written 0.0.0
                       "D|x,1,2&|more\r\n" // parsed: text after a second bar
                       "E|x,1,2,3&\r\n" // parsed: a fourth field
                       "F|x,1,2&y,3\r\n"; // parsed: the last period without its &
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    RecordTable lazy;
    ASSERT_TRUE(ReadRecordTable(device, lazy).ok());
    device.seek(0);
    SavedRecordMap parsed;
    ASSERT_TRUE(
        ReadRecords(device, [&](AnsiString name, IntervalList periods) { parsed[name] = std::move(periods); }).ok());

    ASSERT_EQ(lazy.Size(), 6u);
    const std::map<AnsiString, std::string> expectedLazy
        = {{"A", "x,01.01.2000,02.02.2000&y,  .  .    ,3/3/2003&"}, {"B", ""}};
    for (const RecordView& record : lazy) {
        const AnsiString name(record.name);
        const auto expected = expectedLazy.find(name);
        EXPECT_EQ(record.periods == nullptr, expected != expectedLazy.end()) << name;
        if (expected != expectedLazy.end()) {
            EXPECT_EQ(record.line, expected->second) << name;
        }
        EXPECT_TRUE(SameRecord(record, parsed.at(name))) << name;
        EXPECT_TRUE(SameRecord(PeriodsOf(record), parsed.at(name))) << name;
    }

    QByteArray fromLazy;
    QBuffer lazyOut(&fromLazy);
    lazyOut.open(QIODevice::WriteOnly);
    quint64 lazyHash = 0;
    ASSERT_TRUE(WriteRecords(lazyOut, lazy, {}, &lazyHash).ok());
    QByteArray fromParsed;
    QBuffer parsedOut(&fromParsed);
    parsedOut.open(QIODevice::WriteOnly);
    quint64 parsedHash = 0;
    ASSERT_TRUE(WriteRecords(parsedOut, parsed, {}, &parsedHash).ok());
    EXPECT_EQ(fromLazy, fromParsed);
    EXPECT_EQ(lazyHash, parsedHash);
    EXPECT_EQ(fromLazy,
        QByteArray("A|x,01.01.2000,02.02.2000&y,  .  .    ,3/3/2003&\r\nB|\r\nC|x,0.0.0,02.02.2000&\r\n"
                   "D|x,1,2&\r\nE|x,1,2&\r\nF|x,1,2&\r\n"));
}

TEST(DataFile, ContentHashIsTheSameHoweverTheBytesAreCut)
{
    std::mt19937 random(5);
    QByteArray bytes(300 * 1024 + 17, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    const auto hashInPieces = [&](size_t piece) {
        ContentHash hash;
        for (qsizetype at = 0; at < bytes.size(); at += static_cast<qsizetype>(piece))
            hash.Add(bytes.constData() + at, std::min<size_t>(piece, static_cast<size_t>(bytes.size() - at)));
        return hash.Result();
    };
    const quint64 whole = hashInPieces(static_cast<size_t>(bytes.size()));
    for (const size_t piece : {size_t(1) << 16, size_t(1000), size_t(65537), size_t(7)})
        EXPECT_EQ(hashInPieces(piece), whole) << piece;
    QByteArray changed = bytes;
    changed[200000] = static_cast<char>(changed[200000] ^ 1);
    ContentHash other;
    other.Add(changed.constData(), static_cast<size_t>(changed.size()));
    EXPECT_NE(other.Result(), whole);
    ContentHash shorter;
    shorter.Add(bytes.constData(), static_cast<size_t>(bytes.size() - 1));
    EXPECT_NE(shorter.Result(), whole);
}

TEST(DataFile, ReadsLinesLongerThanOneChunk)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    AnsiString line = "Long|";
    for (int i = 0; i < 20000; ++i)
        line += "p" + std::to_string(i) + ",01.01.2000,02.02.2000&";
    WriteFileBytes(path, Bytes("A|\r\n" + line + "\r\nZ|\r\n"));
    SavedRecordMap map;
    std::vector<AnsiString> names;
    EXPECT_EQ(ReadDataFile(path,
                  [&](AnsiString name, IntervalList periods) {
                      names.push_back(name);
                      map[name] = std::move(periods);
                  })
                  .state,
        DataFileResult::State::Done);
    EXPECT_EQ(names, (std::vector<AnsiString>{"A", "Long", "Z"}));
    ASSERT_EQ(map["Long"].size(), 20000u);
    EXPECT_EQ(map["Long"].back().name, "p19999");
}

TEST(DataFile, MissingFileIsNotAFailure)
{
    QTemporaryDir folder;
    Collected collected;
    const DataFileResult result = ReadDataFile(folder.filePath("u.ini"), collected.Sink());
    EXPECT_EQ(result.state, DataFileResult::State::Missing);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(collected.records.empty());
}

TEST(DataFile, ExistingFileThatCannotBeReadFails)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    ASSERT_TRUE(QDir(folder.path()).mkdir("u.ini"));
    Collected collected;
    const DataFileResult result = ReadDataFile(path, collected.Sink());
    EXPECT_FALSE(result.ok());
    ExpectReason(result, "не удалось открыть файл");
    EXPECT_TRUE(collected.records.empty());
}

// Only "no such file" is a first start. Whatever else fails, or is no regular file, is a file
// that cannot be read: reported, never taken for an empty one, and never waited on.
TEST(DataFile, OnlyANameThatIsNotThereIsMissing)
{
    QTemporaryDir folder;
    const QString regular = folder.filePath("file");
    WriteFileBytes(regular, "x");
    const QString fifo = folder.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        const char* what;
        QString path;
        DataFileResult::State state;
    };
    const Case cases[] = {
        {"no such file", folder.filePath("u.ini"), DataFileResult::State::Missing},
        {"no such folder", folder.filePath("gone/u.ini"), DataFileResult::State::Missing},
        {"a path through a regular file", regular + "/u.ini", DataFileResult::State::Failed},
        {"a FIFO", fifo, DataFileResult::State::Failed},
        {"a device", "/dev/zero", DataFileResult::State::Failed},
        {"a folder", folder.path(), DataFileResult::State::Failed},
    };
    for (const Case& c : cases) {
        Collected collected;
        const DataFileResult result = ReadDataFile(c.path, collected.Sink());
        EXPECT_EQ(result.state, c.state) << c.what;
        if (c.state == DataFileResult::State::Failed)
            ExpectReason(result, "не удалось открыть файл");
        EXPECT_TRUE(collected.records.empty()) << c.what;
    }
}

// Serves its bytes a few at a time, then fails for good, as a disk that breaks part-way.
class FailingReader : public QIODevice {
public:
    FailingReader(QByteArray bytes, qint64 failAt)
        : m_bytes(std::move(bytes))
        , m_failAt(failAt)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_position >= m_failAt) {
            setErrorString("device broke");
            return -1;
        }
        const qint64 n = std::min({maxSize, qint64(3), m_failAt - m_position});
        std::memcpy(data, m_bytes.constData() + m_position, static_cast<size_t>(n));
        m_position += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_failAt;
    qint64 m_position = 0;
};

TEST(DataFile, ReadErrorPartWayKeepsTheLinesBeforeIt)
{
    const QByteArray bytes("A|x,1.1.1,2.2.2&\r\nB|\r\nC|y,3.3.3,4.4.4&\r\n");
    struct Case {
        qint64 failAt;
        const char* records;
    };
    const Case cases[] = {
        {0, ""},
        {bytes.indexOf("B|"), "A(x,1.1.1,2.2.2)"},
        {bytes.indexOf("C|") + 4, "A(x,1.1.1,2.2.2) B()"}, // the broken line is not handed over
        {bytes.size(), "A(x,1.1.1,2.2.2) B() C(y,3.3.3,4.4.4)"},
    };
    for (const Case& c : cases) {
        FailingReader device(bytes, c.failAt);
        Collected collected;
        const DataFileResult result = ReadRecords(device, collected.Sink());
        ExpectReason(result, "не удалось прочитать файл");
        EXPECT_TRUE(result.reason.contains("device broke")) << result.reason.toStdString();
        EXPECT_EQ(collected.Joined(), c.records) << c.failAt;

        // A window's table keeps the same records.
        FailingReader again(bytes, c.failAt);
        RecordTable table;
        std::vector<std::string> listed;
        const DataFileResult tableResult
            = ReadRecordTable(again, table, [&](std::string_view name) { listed.emplace_back(name); });
        ExpectReason(tableResult, "не удалось прочитать файл");
        Collected fromTable;
        fromTable.Add(table);
        EXPECT_EQ(fromTable.Joined(), c.records) << c.failAt;
        EXPECT_EQ(listed.size(), fromTable.records.size()) << c.failAt;
    }
}

// Takes `capacity` bytes, then refuses every write (a full disk).
class FailingWriter : public QIODevice {
public:
    explicit FailingWriter(qint64 capacity)
        : m_capacity(capacity)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 n = std::min(size, m_capacity - written.size());
        if (n <= 0) {
            setErrorString("device full");
            return -1;
        }
        written.append(data, n);
        return n;
    }

private:
    qint64 m_capacity;
};

SavedRecordMap ManyRecords(size_t count)
{
    SavedRecordMap records;
    for (size_t i = 0; i < count; ++i)
        records["record " + std::to_string(i)] = {Interval("period", MDate("01.01.2000"), MDate("02.02.2000"))};
    return records;
}

TEST(DataFile, WritesEveryRecordInKeyOrderWithCrLf)
{
    FailingWriter device(1 << 30);
    EXPECT_EQ(WriteRecords(device, ExampleRecords()).state, DataFileResult::State::Done);
    EXPECT_EQ(device.written, Bytes(Win1251(ExampleFile)));
}

// Names laid over the map replace its records, stand beside them or leave them out, all in
// key order.
TEST(DataFile, WritesTheOverlayOverTheRecords)
{
    SavedRecordMap records;
    records["B"] = {};
    records["D"] = {Interval("d", MDate("1.1.1"), MDate("2.2.2"))};
    records["F"] = {};
    const IntervalList replaced{Interval("new", MDate("3.3.3"), MDate("4.4.4"))};
    const IntervalList added{};
    const RecordOverlay overlay{{"A", &added}, {"D", &replaced}, {"E", &added}, {"F", nullptr}, {"G", nullptr}};
    FailingWriter device(1 << 30);
    quint64 hash = 0;
    ASSERT_TRUE(WriteRecords(device, records, overlay, &hash).ok());
    EXPECT_EQ(device.written, QByteArray("A|\r\nB|\r\nD|new,3.3.3,4.4.4&\r\nE|\r\n"));
    ContentHash expected;
    expected.Add(device.written.constData(), static_cast<size_t>(device.written.size()));
    EXPECT_EQ(hash, expected.Result());
}

TEST(DataFile, WriteErrorPartWayIsReported)
{
    const SavedRecordMap records = ManyRecords(5000); // well over one chunk of the writer
    for (const qint64 capacity : {qint64(0), qint64(10), qint64(70000), qint64(150000)}) {
        FailingWriter device(capacity);
        const DataFileResult result = WriteRecords(device, records);
        ExpectReason(result, "не удалось записать файл");
        EXPECT_TRUE(result.reason.contains("device full")) << result.reason.toStdString();
    }
}

TEST(DataFile, WriteDataFileWritesTheExampleBytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    WriteFileBytes(path, "old content that is longer than nothing");
    ASSERT_EQ(WriteDataFile(path, ExampleRecords()).state, DataFileResult::State::Done);
    const QByteArray bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes, Bytes(Win1251(ExampleFile)));
    EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("C8E2E0EDEEE27CC7E0E2EEE42C30312E")));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

TEST(DataFile, EmptyMapWritesZeroBytes)
{
    QTemporaryDir folder;
    const QString created = folder.filePath("new.ini");
    const QString replaced = folder.filePath("u.ini");
    WriteFileBytes(replaced, Bytes(Win1251(ExampleFile)));
    for (const QString& path : {created, replaced}) {
        ASSERT_EQ(WriteDataFile(path, SavedRecordMap()).state, DataFileResult::State::Done);
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(QFileInfo(path).size(), 0);
    }
}

// While it lives, regular files of this process cannot grow beyond `bytes`: a full disk that
// stops even root. The signal is ignored so that the write reports the error instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

TEST(DataFile, FailedWriteLeavesTheOldFileUntouched)
{
    const QByteArray old = Bytes(Win1251(ExampleFile));
    struct Case {
        const char* what;
        size_t records; // what the new file would hold
        rlim_t sizeLimit; // 0: none
        bool pathIsFolder;
    };
    const Case cases[] = {
        {"disk full at the final flush", 20, 300, false}, // all lines still in the file's buffer
        {"disk full part-way", 5000, 100000, false},
        {"the data file is a folder", 20, 0, true},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString path = folder.filePath("u.ini");
        if (c.pathIsFolder)
            ASSERT_TRUE(QDir(folder.path()).mkpath("u.ini/inside"));
        else
            WriteFileBytes(path, old);
        const QStringList before
            = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

        const SavedRecordMap records = ManyRecords(c.records);
        DataFileResult result;
        if (c.sizeLimit) {
            const FileSizeLimit limit(c.sizeLimit);
            result = WriteDataFile(path, records);
        } else {
            result = WriteDataFile(path, records);
        }

        ExpectReason(result, "не удалось записать файл");
        if (c.pathIsFolder)
            EXPECT_TRUE(QFileInfo(path + "/inside").isDir()) << c.what;
        else
            EXPECT_EQ(ReadFileBytes(path), old) << c.what;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before)
            << c.what << ": no temporary file is left behind";
    }
}

TEST(DataFile, WriteBelowARegularFileFails)
{
    QTemporaryDir folder;
    const QString notAFolder = folder.filePath("file");
    WriteFileBytes(notAFolder, "x");
    ExpectReason(WriteDataFile(notAFolder + "/u.ini", ExampleRecords()), "не удалось создать файл");
    EXPECT_EQ(ReadFileBytes(notAFolder), "x");
}

TEST(DataFile, RandomRecordsReadBackFromAFileAsWritten)
{
    std::mt19937 random(11);
    SavedRecordMap written;
    while (written.size() < 400)
        written[RandomText(random, 1, 30)] = RandomPeriods(random, 8);
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    ASSERT_EQ(WriteDataFile(path, written).state, DataFileResult::State::Done);

    std::vector<AnsiString> order;
    SavedRecordMap read;
    ASSERT_EQ(ReadDataFile(path,
                  [&](AnsiString name, IntervalList periods) {
                      order.push_back(name);
                      read[name] = std::move(periods);
                  })
                  .state,
        DataFileResult::State::Done);

    std::vector<AnsiString> keys;
    for (const auto& [name, periods] : written)
        keys.push_back(name);
    EXPECT_EQ(order, keys) << "one line per record, in key order";
    ASSERT_EQ(read.size(), written.size());
    for (const auto& [name, periods] : written) {
        const IntervalList& back = read[name];
        ASSERT_EQ(back.size(), periods.size());
        for (size_t i = 0; i < periods.size(); ++i) {
            EXPECT_EQ(back[i].name, periods[i].name);
            EXPECT_EQ(back[i].from.text, periods[i].from.text);
            EXPECT_EQ(back[i].to.text, periods[i].to.text);
            EXPECT_EQ(back[i].from, periods[i].from);
            EXPECT_EQ(back[i].to, periods[i].to);
        }
    }
}

// RecordLineSeparators is exactly the set of bytes that a record line cannot carry, with the
// line ends: a record name and a period name holding any other byte come back from the file as
// they were written.
TEST(DataFile, NamesWithoutTheSeparatorsComeBackAsWritten)
{
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const AnsiString recordName = AnsiString("a") + byte + "z";
        const AnsiString periodName = AnsiString("p") + byte + "q";
        SavedRecordMap written;
        written[recordName] = {Interval(periodName, MDate("01.01.2000"), MDate("02.02.2000"))};
        QBuffer device;
        ASSERT_TRUE(device.open(QIODevice::ReadWrite));
        ASSERT_EQ(WriteRecords(device, written).state, DataFileResult::State::Done);
        device.seek(0);
        SavedRecordMap read;
        ReadRecords(device, [&](AnsiString name, IntervalList periods) { read[name] = std::move(periods); });

        const bool cameBack = read.size() == 1 && read.begin()->first == recordName && read.begin()->second.size() == 1
            && read.begin()->second.front().name == periodName && read.begin()->second.front().to.text == "02.02.2000";
        const bool separator = RecordLineSeparators.find(byte) != std::string_view::npos;
        EXPECT_EQ(cameBack, !separator) << "byte " << value;
    }
}

} // namespace
