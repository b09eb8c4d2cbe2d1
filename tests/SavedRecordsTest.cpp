#include "SavedRecords.h"
#include "PlainRules.h"
#include "RandomRecords.h"
#include "Win1251.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// A record as "name(period;period)", each period "name,from,to" with the date texts, so that a
// whole record compares and prints as one text.
std::string Describe(const AnsiString& name, const IntervalList& periods)
{
    std::string text = name + "(";
    for (size_t i = 0; i < periods.size(); ++i) {
        if (i > 0)
            text += ';';
        text += periods[i].name + ',' + periods[i].from.text + ',' + periods[i].to.text;
    }
    return text + ")";
}

std::string Describe(const std::pair<AnsiString, IntervalList>& record)
{
    return Describe(record.first, record.second);
}

TEST(SavedRecordMap, KeysFollowTheUnsignedByteOrder)
{
    SavedRecordMap map;
    for (const char* name : {"Б", "A", "а", "1", "Ё"})
        map[Win1251(name)];
    std::vector<AnsiString> keys;
    for (const auto& entry : map)
        keys.push_back(entry.first);
    const std::vector<AnsiString> expected{Win1251("1"), Win1251("A"), Win1251("Ё"), Win1251("Б"), Win1251("а")};
    EXPECT_EQ(keys, expected);
}

TEST(SavedRecordMap, DistinctNamesAreDistinctKeysInOrder)
{
    struct Case {
        const char* lesser;
        const char* greater;
    };
    const Case cases[] = {
        {"Иван", "Иванов"}, // a proper prefix first
        {"ИВАНОВ", "Иванов"}, // capitals before small letters, no case folding
        {"Иванов", "Иванов "}, // a trailing blank makes another name
        {" Иванов", "Иванов"}, // the blank sorts before every letter
        {"Zeta", "Альфа"}, // every Latin letter before every Cyrillic one
        {"Ёлка", "Аист"}, // IO (0xA8) before A (0xC0)
    };
    for (const Case& c : cases) {
        SavedRecordMap map;
        map[Win1251(c.greater)];
        map[Win1251(c.lesser)];
        ASSERT_EQ(map.size(), 2u) << c.lesser << " / " << c.greater;
        EXPECT_EQ(map.begin()->first, Win1251(c.lesser)) << c.lesser << " / " << c.greater;
    }
}

TEST(SavedRecords, ParseRecordLine)
{
    struct Case {
        const char* line; // UTF-8, converted to Windows-1251
        const char* record; // Describe() of the result, UTF-8; "" for no record
    };
    const Case cases[] = {
        {"", ""},
        {"Name", ""}, // no "|"
        {"|A,01.01.2000,02.02.2000&", ""}, // empty name
        {"Name|", "Name()"}, // a record without periods
        {"Name|A,01.01.2000,02.02.2000", "Name()"}, // no "&": no candidate counts
        {"Name|A,01.01.2000,02.02.2000&", "Name(A,01.01.2000,02.02.2000)"},
        {"Name|A,01.01.2000,02.02.2000&B,03.03.2000,04.04.2000",
            "Name(A,01.01.2000,02.02.2000;B,03.03.2000,04.04.2000)"}, // the piece after the last "&" counts
        {"Name|A,01.01.2000&", "Name()"}, // one "," only: skipped
        {"Name|A,01.01.2000,02.02.2000,x&", "Name(A,01.01.2000,02.02.2000)"}, // fourth field ignored
        {"Name|A,ab,cd&", "Name(A,ab,cd)"}, // dates that do not parse are kept
        {"Name|,,&", "Name(,,)"}, // empty period name and date texts
        {"Name|&&A,1.1.1,2.2.2&&", "Name(A,1.1.1,2.2.2)"}, // empty candidates skipped
        {"Name|A,1.1.1,2.2.2&|B,3.3.3,4.4.4&", "Name(A,1.1.1,2.2.2)"}, // text after a second "|" ignored
        {"A,B&C|x,1.1.1,2.2.2&", "A,B&C(x,1.1.1,2.2.2)"}, // only "|" ends a record name
        {" Иванов |Завод,01.09.1995,31.08.2001&", " Иванов (Завод,01.09.1995,31.08.2001)"},
        {"Name|A,1/2/2003,  .  .    &", "Name(A,1/2/2003,  .  .    )"},
        {"Name|A,0.0.0,0.0.0&", "Name(A,0.0.0,0.0.0)"},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseRecordLine(Win1251(c.line));
        if (*c.record == '\0') {
            EXPECT_TRUE(parsed.first.empty()) << c.line;
            EXPECT_TRUE(parsed.second.empty()) << c.line;
        } else {
            EXPECT_EQ(Describe(parsed), Win1251(c.record)) << c.line;
        }
    }
}

TEST(SavedRecords, ParseRecordLineReadsTheDateNumbersFromTheTexts)
{
    const auto [name, periods] = ParseRecordLine("Name|A,01.09.1995,ab&B,1/2/2003,15.03.2010.&");
    ASSERT_EQ(periods.size(), 2u);
    const MDate& from = periods[0].from;
    EXPECT_EQ(std::vector<int>({from.day, from.month, from.year, from.invalid}), std::vector<int>({1, 9, 1995, 0}));
    EXPECT_NE(periods[0].to.invalid, 0);
    const MDate& slash = periods[1].from;
    EXPECT_EQ(std::vector<int>({slash.day, slash.month, slash.year}), std::vector<int>({1, 2, 2003}));
    const MDate& trailing = periods[1].to;
    EXPECT_EQ(std::vector<int>({trailing.day, trailing.month, trailing.year}), std::vector<int>({15, 3, 2010}));
}

TEST(SavedRecords, ParseRecordLineEndsFieldsAtAZeroByte)
{
    using namespace std::string_literals;
    EXPECT_EQ(Describe(ParseRecordLine("Na\0me|A\0x,01.01\0.2000,02.02.2000&"s)), "Na(A,01.01,02.02.2000)");
    EXPECT_TRUE(ParseRecordLine("\0Name|A,1.1.1,2.2.2&"s).first.empty());
    // The zero byte ends a field, not the candidate or the line.
    EXPECT_EQ(Describe(ParseRecordLine("N|A,1.1.1,2.2\0&B,3.3.3,4.4.4&"s)), "N(A,1.1.1,2.2;B,3.3.3,4.4.4)");
}

TEST(SavedRecords, FormatRecordLine)
{
    MDate noText("05.03.2010");
    noText.text.clear();
    struct Case {
        const char* name;
        IntervalList periods;
        const char* line; // UTF-8, converted to Windows-1251
    };
    const Case cases[] = {
        {"Name", {}, "Name|"},
        {"Иванов",
            {Interval(Win1251("Завод"), MDate("01.09.1995"), MDate("31.08.2001")),
                Interval(Win1251("Школа"), MDate("01.09.2001"), MDate("15.06.2010"))},
            "Иванов|Завод,01.09.1995,31.08.2001&Школа,01.09.2001,15.06.2010&"},
        {" X ", {Interval("", MDate("1/2/2003"), MDate("  .  .    "))}, " X |,1/2/2003,  .  .    &"},
        {"Name", {Interval("A", MDate(""), noText)}, "Name|A,0.0.0,5.3.2010&"}, // dates without text
        {"Name", {Interval("A", MDate("ab"), MDate("15.03.2010."))}, "Name|A,ab,15.03.2010.&"},
    };
    for (const Case& c : cases) {
        const AnsiString name = Win1251(c.name);
        EXPECT_EQ(FormatRecordLine(name, c.periods), Win1251(c.line)) << c.line;
        AnsiString appended = "before";
        AppendRecordLine(appended, name, c.periods);
        EXPECT_EQ(appended, "before" + Win1251(c.line)) << c.line;
    }
}

TEST(SavedRecords, ExampleLineHasTheDocumentedBytes)
{
    const AnsiString line
        = FormatRecordLine(Win1251("Иванов"), {Interval(Win1251("Завод"), MDate("01.09.1995"), MDate("31.08.2001"))});
    const unsigned char expected[]
        = {0xC8, 0xE2, 0xE0, 0xED, 0xEE, 0xE2, 0x7C, 0xC7, 0xE0, 0xE2, 0xEE, 0xE4, 0x2C, 0x30, 0x31, 0x2E};
    ASSERT_GE(line.size(), sizeof expected);
    EXPECT_EQ(line.substr(0, sizeof expected), AnsiString(reinterpret_cast<const char*>(expected), sizeof expected));
}

// A line of random fields joined by the separators of the format, a zero byte now and then.
AnsiString RandomLine(std::mt19937& random)
{
    static const AnsiString joints[] = {",", ",", ",", "&", "&", "|", "", AnsiString(1, '\0')};
    std::uniform_int_distribution<size_t> joint(0, std::size(joints) - 1);
    AnsiString line;
    for (int n = std::uniform_int_distribution<int>(0, 12)(random); n > 0; --n)
        line += RandomParserText(random, 12) + joints[joint(random)];
    return line;
}

// The line scanner finds its separators its own way; it must find what the plain reading finds.
TEST(SavedRecords, ParseRecordLineFollowsThePlainRuleOnRandomLines)
{
    std::mt19937 random(20261212);
    for (int i = 0; i < 3000; ++i) {
        const AnsiString line = RandomLine(random);
        ASSERT_EQ(Describe(ParseRecordLine(line)), Describe(PlainRecordLine(line))) << "case " << i << ": " << line;
    }
}

// A line is canonical exactly when formatting its parse gives it back: the check the reader
// makes instead of formatting every line.
TEST(SavedRecords, CanonicalLinesAreThoseFormattingGivesBack)
{
    struct Case {
        AnsiString line;
        bool canonical;
    };
    const Case cases[] = {
        {"Name|", true},
        {"Name|A,01.01.2000,02.02.2000&", true},
        {"Name|,1/2/2003,  .  .    &B,x,y&", true}, // an empty period name, any date texts
        {" N, & |A,1,2&", true}, // the name may hold "," and "&"
        {"|A,1,2&", false}, // no name
        {"Name", false}, // no bar
        {"Name|A,1,2", false}, // the last period without its &
        {"Name|A,1,2&B", false},
        {"Name|A,1&", false}, // two fields
        {"Name|A,1,2,3&", false}, // four fields
        {"Name|A,,2&", false}, // an empty date text is written 0.0.0
        {"Name|A,1,&", false},
        {"Name|A,1,2&|", false}, // a second bar
        {"Name|&", false}, // an empty period
        {AnsiString("Na\0me|A,1,2&", 12), false},
        {AnsiString("Name|A,1\0,2&", 12), false},
    };
    for (const Case& c : cases) {
        const size_t bar = c.line.find('|');
        const std::string_view text(c.line);
        const bool canonical
            = bar != AnsiString::npos && IsCanonicalRecordLine(text.substr(0, bar), text.substr(bar + 1));
        EXPECT_EQ(canonical, c.canonical) << c.line;
        const auto [name, periods] = ParseRecordLine(c.line);
        EXPECT_EQ(!name.empty() && FormatRecordLine(name, periods) == c.line, c.canonical) << c.line;
    }

    std::mt19937 random(20261211);
    for (int i = 0; i < 5000; ++i) {
        const AnsiString line = RandomLine(random);
        const size_t bar = line.find('|');
        if (bar == AnsiString::npos)
            continue;
        const std::string_view text(line);
        const auto [name, periods] = ParseRecordLine(line);
        ASSERT_EQ(IsCanonicalRecordLine(text.substr(0, bar), text.substr(bar + 1)),
            !name.empty() && FormatRecordLine(name, periods) == line)
            << "case " << i << ": " << line;
    }
}

// A lazy record gives the periods of its line, writes its line and compares as its periods.
TEST(SavedRecords, LazyRecordActsAsItsPeriods)
{
    const AnsiString rest = Win1251("Завод,01.09.1995,31.08.2001&Школа,01.09.2001,15.06.2010&");
    const auto [name, periods] = ParseRecordLine(Win1251("Иванов|") + rest);
    const RecordView lazy{name, nullptr, rest};
    EXPECT_EQ(Describe(name, PeriodsOf(lazy)), Describe(name, periods));
    const RecordView parsed{name, &periods, {}};
    EXPECT_EQ(Describe(name, PeriodsOf(parsed)), Describe(name, periods));

    AnsiString line = "before";
    AppendRecordLine(line, lazy);
    EXPECT_EQ(line, "before" + Win1251("Иванов|") + rest);
    line = "before";
    AppendRecordLine(line, parsed);
    EXPECT_EQ(line, "before" + Win1251("Иванов|") + rest);

    EXPECT_TRUE(SameRecord(lazy, periods));
    EXPECT_TRUE(SameRecord(parsed, periods));
    IntervalList other = periods;
    other[1].to = MDate("16.06.2010");
    EXPECT_FALSE(SameRecord(lazy, other));
    other.pop_back();
    EXPECT_FALSE(SameRecord(lazy, other));
    EXPECT_FALSE(SameRecord(lazy, IntervalList()));
    EXPECT_TRUE(SameRecord(RecordView{"A", nullptr, ""}, IntervalList()));

    // Two records compare as the bytes their periods stand as, kept or parsed.
    const AnsiString otherRest = FormatRecordLine("", other).substr(1);
    const RecordView lazyOther{name, nullptr, otherRest};
    const RecordView parsedOther{name, &other, {}};
    for (const RecordView* a : {&lazy, &parsed}) {
        for (const RecordView* b : {&lazy, &parsed})
            EXPECT_TRUE(SameRecord(*a, *b));
        EXPECT_FALSE(SameRecord(*a, lazyOther));
        EXPECT_FALSE(SameRecord(*a, parsedOther));
        EXPECT_FALSE(SameRecord(lazyOther, *a));
    }
}

TEST(SavedRecords, RandomRecordsReadBackAsWritten)
{
    std::mt19937 random(3);
    for (int i = 0; i < 500; ++i) {
        const AnsiString name = RandomText(random, 1, 20);
        const IntervalList periods = RandomPeriods(random, 6);

        const auto [readName, readPeriods] = ParseRecordLine(FormatRecordLine(name, periods));
        ASSERT_EQ(Describe(readName, readPeriods), Describe(name, periods)) << "record " << i;
        for (size_t p = 0; p < periods.size(); ++p) {
            EXPECT_EQ(readPeriods[p].from, periods[p].from) << "record " << i;
            EXPECT_EQ(readPeriods[p].to, periods[p].to) << "record " << i;
        }
    }
}

} // namespace
