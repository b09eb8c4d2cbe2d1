#pragma once

#include "MDate.h"

#include <QString>

#include <cstddef>
#include <deque>
#include <optional>
#include <variant>
#include <vector>

// One change of the working list, as a splice: at `index`, the periods `removed` gave way to
// the periods `inserted`. An added period removes nothing, a deleted one inserts nothing; a
// clear removes all, an open removes all and inserts the record's periods.
struct PeriodsChange {
    size_t index = 0;
    IntervalList removed;
    IntervalList inserted;
};

// One change of the saved records: the record `key` went from `before` to `after` (nothing:
// there was, or is, no such record), and the saved list's line `line` at `row` stood there
// before (`lineBefore`) and/or after (`lineAfter`) the change. A new record adds its line, an
// overwrite touches no line, a delete removes the selected line, with or without a record.
struct RecordChange {
    AnsiString key;
    std::optional<IntervalList> before;
    std::optional<IntervalList> after;
    int row = -1;
    QString line;
    bool lineBefore = false;
    bool lineAfter = false;
};

using EditStep = std::variant<PeriodsChange, RecordChange>;

// The same change turned around: applying it takes the change back. Twice turned around, a
// change is itself again.
EditStep Reversed(EditStep step);

// The changes made to the working list and to the saved records, for "Отменить" and
// "Повторить": taken back latest first, one at a time, and made again in the order they were
// taken back. Each step is applied to the state the change before it left, so every change of
// the working list and the records must be recorded here for the steps to fit.
class EditHistory {
public:
    // The number of changes that can be taken back; older ones are forgotten.
    static constexpr size_t Limit = 100;
    // The periods the kept steps may hold together (an open of a long record holds it twice);
    // beyond that the oldest steps are forgotten, the latest one is always kept.
    static constexpr size_t DefaultPeriodLimit = 1'000'000;

    explicit EditHistory(size_t periodLimit = DefaultPeriodLimit)
        : m_periodLimit(periodLimit)
    {
    }

    // A change just made: it is the first to be taken back, and what had been taken back can
    // no longer be made again.
    void Record(EditStep step);

    bool CanUndo() const { return !m_done.empty(); }
    bool CanRedo() const { return !m_undone.empty(); }

    // The step that takes the latest change back, to apply as it is; nullptr when there is none.
    // It stays valid until the next call that changes the history.
    const EditStep* Undo();
    // The step that makes the latest change taken back again; nullptr when there is none.
    const EditStep* Redo();

private:
    void ForgetOldest();

    std::deque<EditStep> m_done;
    std::vector<EditStep> m_undone;
    size_t m_periodLimit;
    size_t m_periods = 0; // held by the steps of both sides
};
