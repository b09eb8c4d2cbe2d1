#include "EditHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A history over a plain list of names, applied the way the window applies its steps.
struct Names {
    std::vector<std::string> names;
    EditHistory history;

    static IntervalList Periods(std::initializer_list<const char*> names)
    {
        IntervalList periods;
        for (const char* name : names)
            periods.emplace_back(name, MDate("01.01.2000"), MDate("02.02.2000"));
        return periods;
    }

    void Apply(const PeriodsChange& change)
    {
        const auto at = names.begin() + static_cast<std::ptrdiff_t>(change.index);
        names.erase(at, at + static_cast<std::ptrdiff_t>(change.removed.size()));
        std::vector<std::string> inserted;
        for (const Interval& period : change.inserted)
            inserted.push_back(period.name);
        names.insert(names.begin() + static_cast<std::ptrdiff_t>(change.index), inserted.begin(), inserted.end());
    }

    void Do(PeriodsChange change)
    {
        Apply(change);
        history.Record(std::move(change));
    }

    bool Undo()
    {
        const EditStep* step = history.Undo();
        if (step)
            Apply(std::get<PeriodsChange>(*step));
        return step != nullptr;
    }

    bool Redo()
    {
        const EditStep* step = history.Redo();
        if (step)
            Apply(std::get<PeriodsChange>(*step));
        return step != nullptr;
    }
};

using List = std::vector<std::string>;

TEST(EditHistory, TakesChangesBackLatestFirstAndMakesThemAgain)
{
    Names list;
    EXPECT_FALSE(list.Undo());
    EXPECT_FALSE(list.Redo());
    list.Do({0, {}, Names::Periods({"a", "b", "c"})});
    list.Do({1, Names::Periods({"b"}), {}});
    list.Do({0, Names::Periods({"a", "c"}), Names::Periods({"x"})});
    EXPECT_EQ(list.names, (List{"x"}));

    const std::vector<List> back{{"a", "c"}, {"a", "b", "c"}, {}};
    for (const List& expected : back) {
        ASSERT_TRUE(list.Undo());
        EXPECT_EQ(list.names, expected);
    }
    EXPECT_FALSE(list.history.CanUndo());
    EXPECT_FALSE(list.Undo());

    ASSERT_TRUE(list.Redo());
    ASSERT_TRUE(list.Redo());
    EXPECT_EQ(list.names, (List{"a", "c"}));
    ASSERT_TRUE(list.Undo());
    EXPECT_EQ(list.names, (List{"a", "b", "c"}));

    // A new change forgets what was taken back.
    list.Do({3, {}, Names::Periods({"d"})});
    EXPECT_FALSE(list.history.CanRedo());
    EXPECT_FALSE(list.Redo());
    ASSERT_TRUE(list.Undo());
    EXPECT_EQ(list.names, (List{"a", "b", "c"}));
}

TEST(EditHistory, KeepsTheLatestChangesUpToItsLimit)
{
    Names list;
    for (size_t i = 0; i < EditHistory::Limit + 5; ++i)
        list.Do({i, {}, Names::Periods({"p"})});
    size_t undone = 0;
    while (list.Undo())
        ++undone;
    EXPECT_EQ(undone, EditHistory::Limit);
    EXPECT_EQ(list.names.size(), 5u);
}

TEST(EditHistory, ForgetsTheOldestStepsWhenTheyHoldTooManyPeriods)
{
    EXPECT_GE(EditHistory::DefaultPeriodLimit, 100'000u * 2) << "an open of a long record is kept";
    EditHistory history(10);
    for (int i = 0; i < 3; ++i)
        history.Record(PeriodsChange{0, Names::Periods({"a", "b", "c", "d", "e"}), {}});
    ASSERT_NE(history.Undo(), nullptr);
    ASSERT_NE(history.Undo(), nullptr);
    EXPECT_EQ(history.Undo(), nullptr) << "the oldest step went";

    // Taken back, the steps still count; a new change drops them, and a step larger than the
    // limit is still kept, alone.
    history.Record(PeriodsChange{0, {}, Names::Periods({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"})});
    EXPECT_FALSE(history.CanRedo());
    ASSERT_NE(history.Undo(), nullptr);
    EXPECT_EQ(history.Undo(), nullptr);
    history.Record(PeriodsChange{0, Names::Periods({"a"}), {}});
    ASSERT_NE(history.Undo(), nullptr);
}

TEST(EditHistory, AReversedRecordChangeSwapsItsSides)
{
    RecordChange change;
    change.key = "k";
    change.before = Names::Periods({"old"});
    change.after = std::nullopt;
    change.row = 2;
    change.line = QStringLiteral("k");
    change.lineBefore = true;

    const auto reversed = std::get<RecordChange>(Reversed(change));
    EXPECT_FALSE(reversed.before.has_value());
    ASSERT_TRUE(reversed.after.has_value());
    EXPECT_EQ(reversed.after->front().name, "old");
    EXPECT_FALSE(reversed.lineBefore);
    EXPECT_TRUE(reversed.lineAfter);
    EXPECT_EQ(reversed.row, 2);
    EXPECT_EQ(reversed.key, "k");

    const auto twice = std::get<RecordChange>(Reversed(reversed));
    EXPECT_EQ(twice.before->front().name, "old");
    EXPECT_FALSE(twice.after.has_value());
    EXPECT_TRUE(twice.lineBefore);
    EXPECT_FALSE(twice.lineAfter);
}

} // namespace
