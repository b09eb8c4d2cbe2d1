#pragma once

#include "ByteBuffer.h"
#include "SavedRecords.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

// A window's saved records by name, in the key order of SavedRecordMap. A data file can hold
// 100k records, of which a window opens a handful: the records read from it keep the bytes of
// their lines in one copy of the file's text and are parsed only when their periods are needed,
// so that a record costs 16 bytes beside its line. A record saved in the window holds its periods.
class RecordTable {
    using SavedMap = std::map<AnsiString, IntervalList, std::less<>>;

public:
    // Walks the records in key order. A view into the table: valid until the table changes.
    class Iterator {
    public:
        // The view is made on the spot: -> hands it over in a holder of its own.
        struct Arrow {
            RecordView view;
            const RecordView* operator->() const { return &view; }
        };

        // Walks more than once, but hands views, not references: an input iterator by the rules.
        using iterator_category = std::input_iterator_tag;
        using value_type = RecordView;
        using difference_type = std::ptrdiff_t;
        using pointer = Arrow;
        using reference = RecordView;

        RecordView operator*() const;
        Arrow operator->() const { return {**this}; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return m_kept == other.m_kept && m_saved == other.m_saved; }

    private:
        friend class RecordTable;
        Iterator(const RecordTable& table, size_t kept, SavedMap::const_iterator saved);
        bool KeptFirst() const;
        void SkipErased();

        const RecordTable* m_table = nullptr;
        size_t m_kept = 0;
        SavedMap::const_iterator m_saved;
    };

    // The record of that name, or none. A view: valid until the table changes.
    std::optional<RecordView> Find(std::string_view name) const;
    bool Contains(std::string_view name) const { return Find(name).has_value(); }
    size_t Size() const { return m_keptLive + m_saved.size(); }
    Iterator begin() const;
    Iterator end() const;

    // Adds the record or replaces its periods.
    void Save(const AnsiString& name, IntervalList periods);
    // Removes the record; a name that is not a key changes nothing.
    void Erase(std::string_view name);

    // Filling the table from a data file's text, as its reader does: Reset takes the text and drops
    // every record; each record line is then added in file order, a line formatting its parse
    // gives back (IsCanonicalRecordLine) as its place in the text, any other with its parse;
    // FinishLines puts them in key order, the last line of a name standing, and tells whether a
    // name stood on more than one line. Names and rests are views into Text(); the rest of a kept
    // line follows its name and "|".
    void Reset(ByteBuffer text);
    std::string_view Text() const { return m_text.View(); }
    void AddKeptLine(std::string_view name, std::string_view rest);
    void AddParsedLine(std::string_view name, IntervalList periods);
    bool FinishLines();

private:
    // A record kept as its line: the name at `start` in the text, "|", then `restSize` bytes.
    struct Kept {
        size_t start = 0;
        uint32_t nameSize = 0;
        uint32_t restSize = 0; // Erased once the record was saved over or erased
    };
    static constexpr uint32_t Erased = UINT32_MAX;

    std::string_view NameOf(const Kept& kept) const { return {m_text.data() + kept.start, kept.nameSize}; }
    RecordView ViewOf(const Kept& kept) const;
    // The kept record of that name, erased or not; m_kept.size() when there is none.
    size_t KeptIndex(std::string_view name) const;

    ByteBuffer m_text;
    std::deque<Kept> m_kept; // ascending names, each once
    size_t m_keptLive = 0;
    // Records held as their periods: saved in the window, or read from lines not kept. No name
    // stands both here and among the live kept records.
    SavedMap m_saved;

    // While lines are added: whether every name so far came after the one before. Once one did
    // not, each line's number in the file is noted, to find the last line of a name; the lines
    // before that all count as line 0, as their names were all different.
    bool m_ascending = true;
    bool m_repeatedParsed = false;
    std::string_view m_lastName;
    size_t m_lines = 0;
    std::vector<size_t> m_keptLines;
    std::map<std::string_view, size_t> m_savedLines;
};
