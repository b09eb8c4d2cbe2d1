#include "AnalysisText.h"
#include "FundPrintout.h"
#include "Win1251.h"

#include <gtest/gtest.h>

using namespace std::chrono;

// Failures show the texts, not their code units.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const CalendarDay AsOf = sys_days{2024y / March / 15};

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

IntervalList Periods(std::initializer_list<std::pair<const char*, const char*>> dates)
{
    IntervalList periods;
    for (const auto& [from, to] : dates)
        periods.emplace_back(Win1251("Период"), MDate(from), MDate(to));
    return periods;
}

TEST(YearsWord, AgreesWithTheNumber)
{
    const struct {
        int32_t years;
        const char* word;
    } cases[] = {{0, "лет"}, {1, "год"}, {2, "года"}, {4, "года"}, {5, "лет"}, {8, "лет"}, {11, "лет"}, {12, "лет"},
        {14, "лет"}, {15, "лет"}, {21, "год"}, {22, "года"}, {25, "лет"}, {101, "год"}, {111, "лет"}, {112, "лет"}};
    for (const auto& c : cases)
        EXPECT_EQ(YearsWord(c.years), Utf8(c.word)) << c.years;
}

TEST(CalendarDay, CrossesToTheWindowsCalendarAndBack)
{
    EXPECT_EQ(ToCalendarDay(QDate(2024, 2, 29)), sys_days{2024y / February / 29});
    EXPECT_EQ(ToQDate(sys_days{1975y / July / 30}), QDate(1975, 7, 30));
    EXPECT_EQ(ToCalendarDay(QDate(12000, 5, 1)), sys_days{year{9999} / December / 31});
    EXPECT_EQ(ToCalendarDay(QDate(-5, 5, 1)), sys_days{year{1} / January / 1});
    EXPECT_EQ(ToCalendarDay(QDate()), sys_days{year{1} / January / 1});
    EXPECT_EQ(DayText(sys_days{year{5} / March / 1}), Utf8("01.03.0005"));
    EXPECT_EQ(MonthText(2024y / February), Utf8("февраль 2024"));
}

// How a line came about, for the Fund's own periods and the shapes a period can have.
TEST(ExplanationText, TellsHowTheLineCameAbout)
{
    const struct {
        const char* name;
        IntervalList periods;
        std::size_t row;
        const char* expected;
    } cases[] = {
        {"two whole months, partial days at both ends", FundPrintout(), 0,
            "Период 1: 30.07.1975 – 20.10.1975.\n"
            "Полные календарные месяцы: август 1975 – сентябрь 1975, всего 2; каждый считается месяцем, "
            "сколько бы в нем ни было дней.\n"
            "Дни неполных месяцев: июль 1975 — 2 дн., октябрь 1975 — 20 дн.; всего 22 дн.\n"
            "22 дн. по 30 дней в месяце = 0 мес. 22 дн.; всего месяцев 2 = 0 л. 2 мес.\n"
            "Страховой стаж периода: 2 мес., 22 дн.\n"
            "Совокупный стаж периода (разность дат): 2 мес., 22 дн."},
        {"partial days make a month, a gap before", FundPrintout(), 1,
            "Период 2: 02.11.1975 – 04.11.1977.\n"
            "Полные календарные месяцы: декабрь 1975 – октябрь 1977, всего 23; каждый считается месяцем, "
            "сколько бы в нем ни было дней.\n"
            "Дни неполных месяцев: ноябрь 1975 — 29 дн., ноябрь 1977 — 4 дн.; всего 33 дн.\n"
            "33 дн. по 30 дней в месяце = 1 мес. 3 дн.; всего месяцев 24 = 2 л. 0 мес.\n"
            "Страховой стаж периода: 2 л., 0 мес., 3 дн.\n"
            "Совокупный стаж периода (разность дат): 2 л., 0 мес., 3 дн.\n"
            "Перед периодом перерыв: с 21.10.1975 по 01.11.1975 — 12 дн."},
        {"one whole February", Periods({{"01.02.2024", "29.02.2024"}}), 0,
            "Период 1: 01.02.2024 – 29.02.2024.\n"
            "Полный календарный месяц: февраль 2024; он считается месяцем, сколько бы в нем ни было дней.\n"
            "Неполных месяцев нет.\n"
            "0 дн. по 30 дней в месяце = 0 мес. 0 дн.; всего месяцев 1 = 0 л. 1 мес.\n"
            "Страховой стаж периода: 1 мес., 0 дн.\n"
            "Совокупный стаж периода (разность дат): 29 дн."},
        {"inside one month, dates exchanged", Periods({{"10.03.2023", "05.03.2023"}}), 0,
            "Период 1: 10.03.2023 – 05.03.2023.\n"
            "Полных календарных месяцев нет.\n"
            "Дни неполных месяцев: март 2023 — 6 дн.; всего 6 дн.\n"
            "6 дн. по 30 дней в месяце = 0 мес. 6 дн.; всего месяцев 0 = 0 л. 0 мес.\n"
            "Страховой стаж периода: 6 дн.\n"
            "Совокупный стаж периода (разность дат): 6 дн."},
        {"not a real date", Periods({{"31.02.2020", "31.03.2020"}}), 0,
            "Период 1: 31.02.2020 – 31.03.2020.\n"
            "Период не входит в страховой стаж.\n"
            "Совокупный стаж периода (разность дат): 1 мес., 1 дн."},
        {"overlapping", Periods({{"01.01.2020", "31.12.2020"}, {"01.06.2020", "31.08.2021"}}), 1,
            "Период 2: 01.06.2020 – 31.08.2021.\n"
            "Полные календарные месяцы: июнь 2020 – август 2021, всего 15; каждый считается месяцем, "
            "сколько бы в нем ни было дней.\n"
            "Неполных месяцев нет.\n"
            "0 дн. по 30 дней в месяце = 0 мес. 0 дн.; всего месяцев 15 = 1 л. 3 мес.\n"
            "Страховой стаж периода: 1 л., 3 мес., 0 дн.\n"
            "Совокупный стаж периода (разность дат): 1 л., 3 мес., 0 дн.\n"
            "Дни пересечений учтены в итоге один раз."},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods(c.periods, "", AsOf, {});
        ASSERT_LT(c.row, analysis.rows.size()) << c.name;
        EXPECT_EQ(ExplanationText(c.row + 1, c.periods[c.row], analysis.rows[c.row]), Utf8(c.expected)) << c.name;
    }
}

TEST(FindingTexts, NameEveryKindOfFinding)
{
    const struct {
        const char* name;
        IntervalList periods;
        std::size_t row;
        QStringList expected;
    } cases[] = {
        {"nothing wrong", Periods({{"01.01.2020", "31.12.2020"}}), 0, {}},
        {"start not real", Periods({{"31.02.2020", "31.03.2020"}}), 0,
            {Utf8("Дата начала 31.02.2020 не существует в календаре, период не входит в страховой стаж")}},
        {"end untouched", Periods({{"01.01.2020", "  .  .    "}}), 0,
            {Utf8("Дата окончания   .  .     не существует в календаре, период не входит в страховой стаж")}},
        {"end before start", Periods({{"31.12.2020", "01.01.2020"}}), 0, {Utf8("Конец периода раньше начала")}},
        {"after the day of the calculation", Periods({{"01.01.2024", "31.12.2024"}}), 0,
            {Utf8("Дата периода позже даты расчета 15.03.2024")}},
        {"overlap, first", Periods({{"01.01.2020", "31.12.2020"}, {"01.06.2020", "31.08.2021"}}), 0,
            {Utf8("Пересекается с периодом 2 на 214 дн.")}},
        {"overlap, second", Periods({{"01.01.2020", "31.12.2020"}, {"01.06.2020", "31.08.2021"}}), 1,
            {Utf8("Пересекается с периодом 1 на 214 дн.")}},
        {"touching is no overlap", Periods({{"01.01.2020", "31.03.2020"}, {"01.04.2020", "30.04.2020"}}), 1, {}},
        {"many overlaps: three named, the rest counted",
            Periods({{"01.01.2020", "31.12.2020"}, {"01.02.2020", "29.02.2020"}, {"01.03.2020", "31.03.2020"},
                {"01.04.2020", "30.04.2020"}, {"01.05.2020", "31.05.2020"}, {"01.06.2020", "30.06.2020"}}),
            0,
            {Utf8("Пересекается с периодом 2 на 29 дн."), Utf8("Пересекается с периодом 3 на 31 дн."),
                Utf8("Пересекается с периодом 4 на 30 дн."), Utf8("и еще с 2 периодами")}},
        {"several at once", Periods({{"31.12.2024", "31.02.2020"}}), 0,
            {Utf8("Дата окончания 31.02.2020 не существует в календаре, период не входит в страховой стаж"),
                Utf8("Дата периода позже даты расчета 15.03.2024")}},
    };
    for (const auto& c : cases) {
        const PeriodAnalysis analysis = AnalysePeriods(c.periods, "", AsOf, {});
        ASSERT_LT(c.row, analysis.rows.size()) << c.name;
        EXPECT_EQ(FindingTexts(c.periods[c.row], analysis.rows[c.row], AsOf), c.expected) << c.name;
    }
}

TEST(TotalsTexts, GapsThresholdsAndSickLeave)
{
    const PeriodAnalysis fund = AnalysePeriods(FundPrintout(), "", AsOf, {});
    EXPECT_EQ(GapsText(fund.gaps),
        Utf8("с 21.10.1975 по 01.11.1975 — 12 дн.; с 05.11.1977 по 04.08.1983 — 2099 дн.; "
             "с 14.03.1992 по 17.10.1999 — 2774 дн."));
    EXPECT_EQ(GapsText({}), Utf8("нет"));

    EXPECT_EQ(ThresholdText({5, true, std::nullopt}), Utf8("достигнут до даты приема"));
    EXPECT_EQ(ThresholdText({5, false, std::nullopt}), Utf8("не определить: текущая работа не учтена"));
    EXPECT_EQ(ThresholdText({8, false, sys_days{2026y / May / 31}}), Utf8("31.05.2026"));

    PeriodAnalysis analysis;
    analysis.sickLeavePercent = 80;
    analysis.underSixMonths = false;
    EXPECT_EQ(SickLeaveText(analysis), Utf8("80 % среднего заработка"));
    analysis.sickLeavePercent = 60;
    analysis.underSixMonths = true;
    EXPECT_EQ(SickLeaveText(analysis), Utf8("60 % среднего заработка, не больше МРОТ (стаж меньше 6 месяцев)"));
}

} // namespace
