#include "DataFile.h"
#include "RandomRecords.h"
#include "Win1251.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

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

    std::string Joined() const
    {
        std::string text;
        for (const std::string& record : records)
            text += (text.empty() ? "" : " ") + record;
        return text;
    }
};

QByteArray Bytes(const AnsiString& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        WriteBytes(path, Bytes(Win1251(c.bytes)));
        Collected collected;
        const DataFileResult result = ReadDataFile(path, collected.Sink());
        EXPECT_EQ(result.state, DataFileResult::State::Done) << c.what;
        EXPECT_EQ(collected.Joined(), Win1251(c.records)) << c.what;
    }
}

TEST(DataFile, ReadsLinesLongerThanOneChunk)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("u.ini");
    AnsiString line = "Long|";
    for (int i = 0; i < 20000; ++i)
        line += "p" + std::to_string(i) + ",01.01.2000,02.02.2000&";
    WriteBytes(path, Bytes("A|\r\n" + line + "\r\nZ|\r\n"));
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
    WriteBytes(path, "old content that is longer than nothing");
    ASSERT_EQ(WriteDataFile(path, ExampleRecords()).state, DataFileResult::State::Done);
    const QByteArray bytes = ReadBytes(path);
    EXPECT_EQ(bytes, Bytes(Win1251(ExampleFile)));
    EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("C8E2E0EDEEE27CC7E0E2EEE42C30312E")));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

TEST(DataFile, EmptyMapWritesZeroBytes)
{
    QTemporaryDir folder;
    const QString created = folder.filePath("new.ini");
    const QString replaced = folder.filePath("u.ini");
    WriteBytes(replaced, Bytes(Win1251(ExampleFile)));
    for (const QString& path : {created, replaced}) {
        ASSERT_EQ(WriteDataFile(path, {}).state, DataFileResult::State::Done);
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
            WriteBytes(path, old);
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
            EXPECT_EQ(ReadBytes(path), old) << c.what;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before)
            << c.what << ": no temporary file is left behind";
    }
}

TEST(DataFile, WriteBelowARegularFileFails)
{
    QTemporaryDir folder;
    const QString notAFolder = folder.filePath("file");
    WriteBytes(notAFolder, "x");
    ExpectReason(WriteDataFile(notAFolder + "/u.ini", ExampleRecords()), "не удалось создать файл");
    EXPECT_EQ(ReadBytes(notAFolder), "x");
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
        // A CR inside a name comes back, but a line end has no place in a name of one line.
        if (byte == '\r')
            EXPECT_TRUE(separator && cameBack);
        else
            EXPECT_EQ(cameBack, !separator) << "byte " << value;
    }
}

} // namespace
