#include "SavedListModel.h"

#include "TextConversion.h"

#include <utility>

SavedListModel::SavedListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void SavedListModel::AppendNames(const std::function<void(const NameSink& append)>& fill)
{
    AnsiString bytes;
    std::vector<Entry> lines;
    const size_t base = m_bytes.size();
    fill([&](std::string_view name) {
        // A name longer than an entry can measure is put in as text; no real file comes near it.
        if (name.size() > UINT32_MAX) {
            lines.push_back({0, 0, static_cast<int32_t>(m_typed.size())});
            m_typed.append(FromAnsi(name));
            return;
        }
        lines.push_back({base + bytes.size(), static_cast<uint32_t>(name.size()), -1});
        bytes += name;
    });
    if (lines.empty())
        return;
    const int first = static_cast<int>(m_lines.size());
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    if (m_bytes.empty())
        m_bytes = std::move(bytes);
    else
        m_bytes += bytes;
    if (m_lines.empty())
        m_lines = std::move(lines);
    else
        m_lines.insert(m_lines.end(), lines.begin(), lines.end());
    endInsertRows();
}

void SavedListModel::InsertLine(int row, const QString& text)
{
    if (row < 0 || row > rowCount())
        return;
    beginInsertRows({}, row, row);
    m_lines.insert(m_lines.begin() + row, Entry{0, 0, static_cast<int32_t>(m_typed.size())});
    m_typed.append(text);
    endInsertRows();
}

void SavedListModel::RemoveLine(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_lines.erase(m_lines.begin() + row);
    endRemoveRows();
}

QString SavedListModel::Line(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const Entry& line = m_lines[static_cast<size_t>(row)];
    if (line.typed >= 0)
        return m_typed[line.typed];
    return FromAnsi(std::string_view(m_bytes).substr(line.start, line.size));
}

int SavedListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant SavedListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Line(index.row());
}
