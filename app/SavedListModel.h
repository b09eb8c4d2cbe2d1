#pragma once

// moc cannot parse the C++20 library headers that the core uses, and needs none of their types.
#ifndef Q_MOC_RUN
#include "DataFile.h"
#endif

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// The lines of the list of saved records, in the order they were put in: what SavedListBox shows.
// A data file may name 100k records; a line read from it is kept as its Windows-1251 bytes, all
// of them in one buffer, and made into text only when a view asks for it, so that a line costs
// little more than its bytes. A line put in as typed keeps its text exactly.
class SavedListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit SavedListModel(QObject* parent = nullptr);

    // Appends every name that `fill` hands to the sink it is given, in that order, as one
    // insertion: the views learn of them all at once, after `fill` returns.
    void AppendNames(const std::function<void(const NameSink& append)>& fill);
    // Puts in a line as typed at `row` (0 to RowCount), the lines from there on moving down.
    void InsertLine(int row, const QString& text);
    // Takes out the line at `row`; a row out of range changes nothing.
    void RemoveLine(int row);
    // The line's text; empty for a row out of range.
    QString Line(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    // The line's text for the display and edit roles, as a list widget's item gives it.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // A line: `size` bytes at `start` in m_bytes, or the typed text m_typed[typed].
    struct Entry {
        size_t start = 0;
        uint32_t size = 0;
        int32_t typed = -1;
    };

    AnsiString m_bytes;
    std::vector<Entry> m_lines;
    QStringList m_typed;
};
