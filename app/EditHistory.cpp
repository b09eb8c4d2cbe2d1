#include "EditHistory.h"

#include <utility>

namespace {

size_t PeriodsHeld(const EditStep& step)
{
    if (const auto* periods = std::get_if<PeriodsChange>(&step))
        return periods->removed.size() + periods->inserted.size();
    const auto& record = std::get<RecordChange>(step);
    return (record.before ? record.before->size() : 0) + (record.after ? record.after->size() : 0);
}

} // namespace

EditStep Reversed(EditStep step)
{
    if (auto* periods = std::get_if<PeriodsChange>(&step)) {
        std::swap(periods->removed, periods->inserted);
    } else {
        auto& record = std::get<RecordChange>(step);
        std::swap(record.before, record.after);
        std::swap(record.lineBefore, record.lineAfter);
    }
    return step;
}

void EditHistory::Record(EditStep step)
{
    for (const EditStep& undone : m_undone)
        m_periods -= PeriodsHeld(undone);
    m_undone.clear();
    m_periods += PeriodsHeld(step);
    m_done.push_back(std::move(step));
    while (m_done.size() > Limit || (m_periods > m_periodLimit && m_done.size() > 1))
        ForgetOldest();
}

void EditHistory::ForgetOldest()
{
    m_periods -= PeriodsHeld(m_done.front());
    m_done.pop_front();
}

const EditStep* EditHistory::Undo()
{
    if (m_done.empty())
        return nullptr;
    m_undone.push_back(Reversed(std::move(m_done.back())));
    m_done.pop_back();
    return &m_undone.back();
}

const EditStep* EditHistory::Redo()
{
    if (m_undone.empty())
        return nullptr;
    m_done.push_back(Reversed(std::move(m_undone.back())));
    m_undone.pop_back();
    return &m_done.back();
}
