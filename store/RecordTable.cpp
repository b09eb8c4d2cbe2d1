#include "RecordTable.h"

#include <algorithm>
#include <numeric>
#include <utility>

RecordTable::Iterator::Iterator(const RecordTable& table, size_t kept, SavedMap::const_iterator saved)
    : m_table(&table)
    , m_kept(kept)
    , m_saved(saved)
{
    SkipErased();
}

bool RecordTable::Iterator::KeptFirst() const
{
    if (m_kept == m_table->m_kept.size())
        return false;
    return m_saved == m_table->m_saved.end() || m_table->NameOf(m_table->m_kept[m_kept]) < m_saved->first;
}

void RecordTable::Iterator::SkipErased()
{
    while (m_kept < m_table->m_kept.size() && m_table->m_kept[m_kept].restSize == Erased)
        ++m_kept;
}

RecordView RecordTable::Iterator::operator*() const
{
    if (KeptFirst())
        return m_table->ViewOf(m_table->m_kept[m_kept]);
    return RecordView{m_saved->first, &m_saved->second, {}};
}

RecordTable::Iterator& RecordTable::Iterator::operator++()
{
    if (KeptFirst()) {
        ++m_kept;
        SkipErased();
    } else {
        ++m_saved;
    }
    return *this;
}

RecordTable::Iterator RecordTable::begin() const
{
    return Iterator(*this, 0, m_saved.begin());
}

RecordTable::Iterator RecordTable::end() const
{
    return Iterator(*this, m_kept.size(), m_saved.end());
}

RecordView RecordTable::ViewOf(const Kept& kept) const
{
    return RecordView{NameOf(kept), nullptr, {m_text.data() + kept.start + kept.nameSize + 1, kept.restSize}};
}

size_t RecordTable::KeptIndex(std::string_view name) const
{
    const auto found = std::lower_bound(
        m_kept.begin(), m_kept.end(), name, [this](const Kept& kept, std::string_view key) { return NameOf(kept) < key; });
    if (found == m_kept.end() || NameOf(*found) != name)
        return m_kept.size();
    return static_cast<size_t>(found - m_kept.begin());
}

std::optional<RecordView> RecordTable::Find(std::string_view name) const
{
    if (const auto saved = m_saved.find(name); saved != m_saved.end())
        return RecordView{saved->first, &saved->second, {}};
    const size_t kept = KeptIndex(name);
    if (kept == m_kept.size() || m_kept[kept].restSize == Erased)
        return std::nullopt;
    return ViewOf(m_kept[kept]);
}

void RecordTable::Save(const AnsiString& name, IntervalList periods)
{
    Erase(name);
    m_saved.emplace(name, std::move(periods));
}

void RecordTable::Erase(std::string_view name)
{
    if (const auto saved = m_saved.find(name); saved != m_saved.end()) {
        m_saved.erase(saved);
        return;
    }
    const size_t kept = KeptIndex(name);
    if (kept != m_kept.size() && m_kept[kept].restSize != Erased) {
        m_kept[kept].restSize = Erased;
        --m_keptLive;
    }
}

void RecordTable::Reset(ByteBuffer text)
{
    *this = RecordTable();
    m_text = std::move(text);
}

void RecordTable::AddKeptLine(std::string_view name, std::string_view rest)
{
    // A line too long for a kept record's sizes is held parsed; no real file comes near it.
    if (name.size() >= Erased || rest.size() >= Erased) {
        AddParsedLine(name, PeriodsOf(RecordView{name, nullptr, rest}));
        return;
    }
    if (m_lines > 0 && m_ascending && !(m_lastName < name)) {
        m_ascending = false;
        m_keptLines.assign(m_kept.size(), 0);
    }
    m_lastName = name;
    m_kept.push_back({static_cast<size_t>(name.data() - m_text.data()), static_cast<uint32_t>(name.size()),
        static_cast<uint32_t>(rest.size())});
    if (!m_ascending)
        m_keptLines.push_back(m_lines);
    ++m_lines;
}

void RecordTable::AddParsedLine(std::string_view name, IntervalList periods)
{
    if (m_lines > 0 && m_ascending && !(m_lastName < name)) {
        m_ascending = false;
        m_keptLines.assign(m_kept.size(), 0);
    }
    m_lastName = name;
    if (m_ascending) {
        m_saved.emplace_hint(m_saved.end(), AnsiString(name), std::move(periods));
    } else {
        m_repeatedParsed |= !m_saved.insert_or_assign(AnsiString(name), std::move(periods)).second;
        m_savedLines[name] = m_lines;
    }
    ++m_lines;
}

bool RecordTable::FinishLines()
{
    bool repeated = false;
    if (!m_ascending) {
        // Stable: of the lines of one name, the last in the file stands last.
        std::vector<size_t> order(m_kept.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(),
            [this](size_t a, size_t b) { return NameOf(m_kept[a]) < NameOf(m_kept[b]); });
        std::deque<Kept> sorted;
        for (size_t at = 0; at < order.size(); ++at) {
            const Kept& kept = m_kept[order[at]];
            const std::string_view name = NameOf(kept);
            if (at + 1 < order.size() && NameOf(m_kept[order[at + 1]]) == name) {
                repeated = true;
                continue;
            }
            if (const auto saved = m_saved.find(name); saved != m_saved.end()) {
                repeated = true;
                const auto savedLine = m_savedLines.find(name);
                if (savedLine != m_savedLines.end() && savedLine->second > m_keptLines[order[at]])
                    continue;
                m_saved.erase(saved);
            }
            sorted.push_back(kept);
        }
        m_kept = std::move(sorted);
    }
    repeated |= m_repeatedParsed;
    m_keptLive = m_kept.size();
    m_keptLines = {};
    m_savedLines = {};
    m_ascending = true;
    m_repeatedParsed = false;
    m_lastName = {};
    m_lines = 0;
    return repeated;
}
