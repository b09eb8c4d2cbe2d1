#include "DataFile.h"
#include "RecordTable.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The table's records in key order as "name(first period's name)" or "name()", "*" marking a
// record kept as its line's bytes.
std::string Describe(const RecordTable& table)
{
    std::string text;
    for (const RecordView& record : table) {
        const IntervalList periods = PeriodsOf(record);
        text += std::string(record.name) + (record.periods ? "" : "*") + "("
            + (periods.empty() ? "" : periods.front().name) + ") ";
    }
    return text;
}

struct Read {
    std::vector<std::string> listed;
    bool whole = true;
};

Read ReadInto(RecordTable& table, QByteArray bytes)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    Read read;
    ReadDetails details;
    EXPECT_TRUE(
        ReadRecordTable(device, table, [&](std::string_view name) { read.listed.emplace_back(name); }, &details).ok());
    read.whole = details.whole;
    return read;
}

// Of the lines of one name the last in the file stands, whether each is kept as its bytes or
// parsed; the records come in key order however the file orders them, and every line is listed.
// A parsed line (an empty date here) or a name on two lines makes the file not whole.
TEST(RecordTable, TheLastLineOfANameStandsInKeyOrder)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* records;
        std::vector<std::string> listed;
        bool whole;
    };
    const Case cases[] = {
        {"in key order", "A|a,1,2&\r\nB|b,,2&\r\nC|c,1,2&\r\n", "A*(a) B(b) C*(c) ", {"A", "B", "C"}, false},
        {"out of key order", "C|c,1,2&\r\nA|a,,2&\r\nB|b,1,2&\r\n", "A(a) B*(b) C*(c) ", {"C", "A", "B"}, false},
        {"kept, out of key order", "C|c,1,2&\r\nA|a,1,2&\r\nB|\r\n", "A*(a) B*() C*(c) ", {"C", "A", "B"}, true},
        {"kept twice", "A|a,1,2&\r\nA|b,1,2&\r\n", "A*(b) ", {"A", "A"}, false},
        {"kept, then parsed", "A|a,1,2&\r\nB|\r\nA|b,,2&\r\n", "A(b) B*() ", {"A", "B", "A"}, false},
        {"parsed, then kept", "A|a,,2&\r\nB|\r\nA|b,1,2&\r\n", "A*(b) B*() ", {"A", "B", "A"}, false},
        {"parsed twice", "B|\r\nA|a,,2&\r\nA|b,,2&\r\n", "A(b) B*() ", {"B", "A", "A"}, false},
        {"a repeat after the disorder", "B|\r\nC|c,1,2&\r\nA|\r\nC|d,,2&\r\nC|e,1,2&\r\n", "A*() B*() C*(e) ",
            {"B", "C", "A", "C", "C"}, false},
        {"a name that ends at a zero byte", QByteArray("A\0x|a,1,2&\r\nB|\r\n", 15), "A(a) B*() ", {"A", "B"},
            false},
        {"no line end at the end", "A|\r\nB|b,1,2&", "A*() B*(b) ", {"A", "B"}, true},
        {"nothing", "", "", {}, true},
    };
    for (const Case& c : cases) {
        RecordTable table;
        const Read read = ReadInto(table, c.bytes);
        EXPECT_EQ(Describe(table), c.records) << c.what;
        EXPECT_EQ(read.listed, c.listed) << c.what;
        EXPECT_EQ(read.whole, c.whole) << c.what;
        size_t count = 0;
        for (auto it = table.begin(); it != table.end(); ++it)
            ++count;
        EXPECT_EQ(table.Size(), count) << c.what;
    }
}

// Saves and deletes over the records read: a saved record holds its periods, a deleted one is
// gone, and the walk in key order mixes both kinds.
TEST(RecordTable, SavesAndDeletesApplyOverTheRecordsRead)
{
    RecordTable table;
    ReadInto(table, "B|b,1,2&\r\nD|d,1,2&\r\nF|f,1,2&\r\n");
    table.Save("D", {Interval("new", MDate("1.1.2000"), MDate("2.2.2000"))});
    table.Save("A", {});
    table.Save("E", {Interval("e", MDate("1.1.2000"), MDate("2.2.2000"))});
    table.Erase("F");
    table.Erase("none");
    EXPECT_EQ(Describe(table), "A() B*(b) D(new) E(e) ");
    EXPECT_EQ(table.Size(), 4u);
    EXPECT_FALSE(table.Contains("F"));
    EXPECT_FALSE(table.Find("C").has_value());
    ASSERT_TRUE(table.Find("B").has_value());
    EXPECT_EQ(table.Find("B")->line, "b,1,2&");

    // A table moved (as the window's book is) keeps the bytes of its records read.
    RecordTable moved = std::move(table);
    EXPECT_EQ(Describe(moved), "A() B*(b) D(new) E(e) ");

    moved.Erase("D");
    moved.Erase("B");
    moved.Save("F", {});
    EXPECT_EQ(Describe(moved), "A() E(e) F() ");
    EXPECT_EQ(moved.Size(), 3u);
}

} // namespace
