#include "QtTranslation.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

// Qt's own texts, which the program does not write itself, come out in Russian once the
// translation is installed as the program's start installs it.
class QtTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void contextMenuOfAField();
    void buttonsOfAStandardDialog();
};

void QtTranslationTest::initTestCase()
{
    QVERIFY2(InstallQtTranslation(*qApp), "Qt's Russian translation is not installed");
}

// The right-click menu of every edit field: "&Undo", "Copy", "Select All" and the rest.
void QtTranslationTest::contextMenuOfAField()
{
    QLineEdit field;
    field.setText(u"Завод"_s);
    field.selectAll();
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const QRegularExpression latin(u"[A-Za-z]"_s);
    const QRegularExpression cyrillic(u"[А-Яа-яЁё]"_s);
    int commands = 0;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        ++commands;
        // The key after the tab ("Ctrl+Z") is no word to translate.
        const QString text = action->text().section(u'\t', 0, 0);
        QVERIFY2(!text.contains(latin), qPrintable(text));
        QVERIFY2(text.contains(cyrillic), qPrintable(text));
    }
    QVERIFY(commands >= 5);
}

void QtTranslationTest::buttonsOfAStandardDialog()
{
    QMessageBox box(QMessageBox::Question, u"Программа расчета стажа"_s, u"?"_s,
        QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"Отмена"_s);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), u"Да"_s);
    QCOMPARE(box.button(QMessageBox::No)->text().remove(u'&'), u"Нет"_s);
}

QTEST_MAIN(QtTranslationTest)
#include "QtTranslationTest.moc"
