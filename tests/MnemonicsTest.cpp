#include "Mnemonics.h"

#include <QImage>
#include <QtTest>

using namespace Qt::StringLiterals;

// The Alt letter is marked where the control is drawn; its text stays the caption.
class MnemonicsTest : public QObject {
    Q_OBJECT

private slots:
    void textAsDrawn_data();
    void textAsDrawn();
    void letterIsUnderlinedButTheTextStays();
};

void MnemonicsTest::textAsDrawn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<QString>("drawn");
    QTest::newRow("first letter") << u"Название:"_s << QChar(u'Н') << u"&Название:"_s;
    QTest::newRow("small letter inside") << u"Начало:"_s << QChar(u'ч') << u"На&чало:"_s;
    QTest::newRow("either letter case") << u"Конец:"_s << QChar(u'к') << u"&Конец:"_s;
    QTest::newRow("first occurrence") << u"Очистить"_s << QChar(u'т') << u"Очис&тить"_s;
    QTest::newRow("an ampersand stays one") << u"A&B"_s << QChar(u'b') << u"A&&&B"_s;
    QTest::newRow("letter not in the text") << u"A&B"_s << QChar(u'x') << u"A&&B"_s;
    QTest::newRow("no letter") << u"Добавить"_s << QChar() << u"Добавить"_s;
}

void MnemonicsTest::textAsDrawn()
{
    QFETCH(QString, text);
    QFETCH(QChar, letter);
    QFETCH(QString, drawn);
    QCOMPARE(MnemonicText(text, letter), drawn);
}

// The control with a letter draws exactly what the plain control draws, but for an underline
// in the lower half; text() is the same.
void MnemonicsTest::letterIsUnderlinedButTheTextStays()
{
    const auto differingRows = [](const QImage& a, const QImage& b) {
        QList<int> rows;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    rows.append(y);
                    break;
                }
            }
        }
        return rows;
    };

    MnemonicLabel label(u"Название:"_s);
    QLabel plainLabel(u"Название:"_s);
    MnemonicButton button(u"Добавить"_s);
    QPushButton plainButton(u"Добавить"_s);
    for (QWidget* control : std::initializer_list<QWidget*>{&label, &plainLabel, &button, &plainButton})
        control->resize(102, 21);
    label.SetMnemonic(u'Н');
    button.SetMnemonic(u'Д');
    QCOMPARE(label.text(), u"Название:"_s);
    QCOMPARE(button.text(), u"Добавить"_s);

    const QImage labelImage = label.grab().toImage();
    const QImage buttonImage = button.grab().toImage();
    for (const auto& [drawn, plain] :
        {std::pair{labelImage, plainLabel.grab().toImage()}, std::pair{buttonImage, plainButton.grab().toImage()}}) {
        QCOMPARE(drawn.size(), plain.size());
        const QList<int> rows = differingRows(drawn, plain);
        QVERIFY2(!rows.isEmpty(), "no underline drawn");
        for (int y : rows)
            QVERIFY2(y >= drawn.height() / 2, qPrintable(QString::number(y)));
    }
}

QTEST_MAIN(MnemonicsTest)
#include "MnemonicsTest.moc"
