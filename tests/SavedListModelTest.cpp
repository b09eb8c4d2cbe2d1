#include "SavedListModel.h"
#include "Win1251.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList Lines(const SavedListModel& model)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(); ++row)
        lines.append(model.data(model.index(row)).toString());
    return lines;
}

// Names come in as bytes, many at once, and show as their text; lines typed later keep their text
// exactly, even a character that Windows-1251 lacks.
TEST(SavedListModel, ShowsNamesInTheOrderTheyCameIn)
{
    SavedListModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.AppendNames([](const NameSink& append) {
        append(Win1251("Петров"));
        append("A");
        append(Win1251("Петров"));
    });
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(Lines(model), (QStringList{u"Петров"_s, u"A"_s, u"Петров"_s}));

    model.AppendNames([](const NameSink&) {});
    EXPECT_EQ(inserted.count(), 1);
    model.AppendNames([](const NameSink& append) { append(Win1251("Ёлкин")); });
    model.InsertLine(1, u"Қасым"_s);
    model.InsertLine(5, u"last"_s);
    model.InsertLine(9, u"out of range"_s);
    EXPECT_EQ(Lines(model), (QStringList{u"Петров"_s, u"Қасым"_s, u"A"_s, u"Петров"_s, u"Ёлкин"_s, u"last"_s}));

    model.RemoveLine(0);
    model.RemoveLine(3);
    model.RemoveLine(-1);
    model.RemoveLine(4);
    EXPECT_EQ(Lines(model), (QStringList{u"Қасым"_s, u"A"_s, u"Петров"_s, u"last"_s}));
    EXPECT_EQ(model.Line(1), u"A"_s);
    EXPECT_EQ(model.Line(4), QString());
    EXPECT_EQ(model.data(model.index(1), Qt::EditRole).toString(), u"A"_s);
    EXPECT_FALSE(model.data(model.index(1), Qt::DecorationRole).isValid());
}

} // namespace
