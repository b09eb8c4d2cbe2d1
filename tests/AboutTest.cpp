#include "About.h"
#include "Dateinterval.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

// Stands in for the desktop's browser while it lives: records the web addresses it is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

namespace {

// How a modal showing went.
struct ModalRun {
    bool reached = false; // the window was the active modal window
    bool leftOpen = false; // it was still open after the test's visit, so the test closed it
};

// Calls `open`, which blocks in a modal loop, and once the window is the active modal window
// runs `whileOpen` on it; `whileOpen` is expected to close it. A window left open is closed here,
// so that a faulty window fails the test instead of hanging it.
ModalRun RunModal(const std::function<void()>& open, const std::function<void(QWidget*)>& whileOpen)
{
    ModalRun run;
    QObject visitGuard; // a visit still queued when `open` returns is dropped with it
    QTimer::singleShot(0, &visitGuard, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        run.reached = true;
        whileOpen(modal);
        if (modal->isVisible()) {
            run.leftOpen = true;
            modal->close();
        }
    });
    open();
    return run;
}

// What one showing of the About window shows.
struct Shown {
    QString caption;
    QString memo;
    QString link;
    QString ok;

    bool operator==(const Shown&) const = default;
};

Shown Read(QWidget* window)
{
    Shown shown;
    shown.caption = window->windowTitle();
    if (auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("AboutMemo")))
        shown.memo = memo->toPlainText();
    if (auto* link = window->findChild<QLabel*>(QStringLiteral("AboutLink")))
        shown.link = link->text();
    if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("OkButton")))
        shown.ok = ok->text();
    return shown;
}

// The controls of one kind that belong to `window` itself: the About window is a child of the
// main window, but its controls are not the main window's.
template <typename Control> QList<Control*> OwnControls(QWidget* window)
{
    QList<Control*> controls = window->findChildren<Control*>();
    controls.removeIf([window](const Control* control) { return control->window() != window; });
    return controls;
}

// Everything the main window shows: caption, place, every text, every list line and selection,
// and the control that has the window's focus.
QStringList MainWindowState(QWidget* window)
{
    QStringList state{window->windowTitle(),
        QStringLiteral("%1,%2 %3x%4").arg(window->x()).arg(window->y()).arg(window->width()).arg(window->height())};
    for (auto* edit : OwnControls<QLineEdit>(window))
        state << edit->objectName() + u'=' + edit->text();
    for (auto* label : OwnControls<QLabel>(window))
        state << label->objectName() + u'=' + label->text();
    for (auto* list : OwnControls<QListWidget>(window)) {
        state << list->objectName() + QStringLiteral(" row %1").arg(list->currentRow());
        for (int row = 0; row < list->count(); ++row)
            state << list->objectName() + u':' + list->item(row)->text()
                    + (list->item(row)->isSelected() ? QStringLiteral(" selected") : QString());
    }
    QWidget* focus = window->focusWidget();
    state << QStringLiteral("focus=") + (focus ? focus->objectName() : QString());
    return state;
}

} // namespace

class TAboutFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void windowCaptionSizeAndIcon();
    void controls_data();
    void controls();
    void textsFitTheirControls();
    void termsOfUseLayout();
    void tabGoesFromMemoToOk();
    void linkIsReachedByTabAndOpenedByEnter();
    void linkTakesWindowTextColourUnderTheMouse();
    void linkClickOpensWebPageOnce();
    void linkPressReleasedElsewhereOpensNothing();
    void okClosesModalWindow();
    void openingTwiceShowsTheSameText();
    void opensCentredOnItsOwner();
    void staysOnTheScreenWhenItsOwnerIsAtTheEdge();
    void iconResourceLoads();
    void openingFromTheMenuLeavesTheMainWindowUnchanged();
    void dataFilePathStandsBelowTheLink_data();
    void dataFilePathStandsBelowTheLink();
};

void TAboutFormTest::initTestCase()
{
    Q_INIT_RESOURCE(resources);
}

void TAboutFormTest::windowCaptionSizeAndIcon()
{
    TAboutForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("О программе Калмир 1.0"));
    QCOMPARE(form.size(), QSize(348, 278));
    QCOMPARE(form.minimumSize(), QSize(348, 278));
    QCOMPARE(form.maximumSize(), QSize(348, 278));
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowIcon().pixmap(32).isNull());
    QVERIFY(!form.isVisible());
}

void TAboutFormTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<bool>("sizedToText"); // may grow beyond its bounds when the font is wider

    QTest::newRow("group box") << "AboutGroupBox"
                               << "AboutForm" << QRect(8, 8, 322, 262) << false;
    QTest::newRow("memo") << "AboutMemo"
                          << "AboutGroupBox" << QRect(16, 16, 289, 214) << false;
    QTest::newRow("link") << "AboutLink"
                          << "AboutGroupBox" << QRect(16, 236, 153, 13) << true;
    QTest::newRow("ok") << "OkButton"
                        << "AboutGroupBox" << QRect(230, 234, 75, 25) << false;
}

void TAboutFormTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, bounds);
    QFETCH(bool, sizedToText);

    TAboutForm form;
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable("missing: " + name));
    QVERIFY(control->parentWidget());
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    if (sizedToText) {
        QCOMPARE(control->pos(), bounds.topLeft());
        QVERIFY(control->width() >= bounds.width());
        QVERIFY(control->height() >= bounds.height());
    } else {
        QCOMPARE(control->geometry(), bounds);
    }
}

void TAboutFormTest::textsFitTheirControls()
{
    TAboutForm form;
    auto* group = form.findChild<QGroupBox*>(QStringLiteral("AboutGroupBox"));
    auto* link = form.findChild<QLabel*>(QStringLiteral("AboutLink"));
    auto* ok = form.findChild<QPushButton*>(QStringLiteral("OkButton"));
    QVERIFY(group && link && ok);
    QCOMPARE(group->title(), QStringLiteral("Информация"));
    QCOMPARE(link->text(), QStringLiteral("Дополнительная информация"));
    QCOMPARE(ok->text(), QStringLiteral("Ок"));

    QCOMPARE(QFontInfo(form.font()).pixelSize(), 11);
    QCOMPARE(QFontInfo(link->font()).pixelSize(), 11);

    const QFontMetrics linkMetrics(link->font());
    QVERIFY2(linkMetrics.horizontalAdvance(link->text()) <= link->contentsRect().width(),
        qPrintable(QStringLiteral("link text is %1 px wide").arg(linkMetrics.horizontalAdvance(link->text()))));
    QVERIFY(linkMetrics.height() <= link->contentsRect().height() + 1);
    QVERIFY(QFontMetrics(ok->font()).horizontalAdvance(ok->text()) + 12 <= ok->width());
    QVERIFY(QFontMetrics(group->font()).horizontalAdvance(group->title()) + 16 <= group->width());
}

void TAboutFormTest::termsOfUseLayout()
{
    TAboutForm form;
    auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("AboutMemo"));
    QVERIFY(memo);
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QString text = memo->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Калмир")));
    QVERIFY(text.contains(QStringLiteral("авторы программы Калмир"), Qt::CaseInsensitive));

    // The free-of-charge line, then nine numbered paragraphs, each after an empty line.
    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 1 + 9 * 2);
    QVERIFY2(lines[0].contains(QStringLiteral("бесплатно")), qPrintable(lines[0]));
    for (int paragraph = 1; paragraph <= 9; ++paragraph) {
        const QString& gap = lines[2 * paragraph - 1];
        const QString& body = lines[2 * paragraph];
        const QString number = QStringLiteral("%1. ").arg(paragraph);
        QVERIFY2(gap.isEmpty(), qPrintable(QStringLiteral("before paragraph %1").arg(paragraph)));
        QVERIFY2(body.startsWith(number) && body.size() > number.size() + 20, qPrintable(body));
    }
}

void TAboutFormTest::tabGoesFromMemoToOk()
{
    TAboutForm form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("AboutMemo"));
    auto* ok = form.findChild<QPushButton*>(QStringLiteral("OkButton"));
    QVERIFY(memo && ok);

    memo->setFocus();
    QTRY_VERIFY(memo->hasFocus());
    const QString before = memo->toPlainText();
    QTest::keyClick(memo, Qt::Key_Tab);
    QTRY_VERIFY(ok->hasFocus());
    QCOMPARE(memo->toPlainText(), before);
}

// After "Ок" the Tab key reaches the link, which shows the focus as an underline; Enter and
// Space open the page and leave the window open, "Ок" unpressed.
void TAboutFormTest::linkIsReachedByTabAndOpenedByEnter()
{
    UrlRecorder browser;
    TAboutForm form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* memo = form.findChild<QPlainTextEdit*>(QStringLiteral("AboutMemo"));
    auto* link = form.findChild<QLabel*>(QStringLiteral("AboutLink"));
    auto* ok = form.findChild<QPushButton*>(QStringLiteral("OkButton"));
    QVERIFY(memo && link && ok);
    QVERIFY(!link->font().underline());
    QCOMPARE(link->accessibleDescription(), QStringLiteral("Открывает страницу программы в браузере"));

    ok->setFocus();
    QTRY_VERIFY(ok->hasFocus());
    QTest::keyClick(ok, Qt::Key_Tab);
    QTRY_VERIFY(link->hasFocus());
    QVERIFY(link->font().underline());
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Space);
    QCOMPARE(browser.opened, (QList<QUrl>{TAboutForm::WebPageUrl(), TAboutForm::WebPageUrl()}));
    QVERIFY(form.isVisible());
    QCOMPARE(form.result(), 0);

    QTest::keyClick(link, Qt::Key_Tab);
    QTRY_VERIFY(memo->hasFocus());
    QVERIFY(!link->font().underline());
}

void TAboutFormTest::linkTakesWindowTextColourUnderTheMouse()
{
    TAboutForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* link = form.findChild<QLabel*>(QStringLiteral("AboutLink"));
    auto* ok = form.findChild<QPushButton*>(QStringLiteral("OkButton"));
    QVERIFY(link && ok);

    const QColor blue(Qt::blue);
    const QColor windowText = form.palette().color(QPalette::WindowText);
    QVERIFY(windowText != blue);

    QCOMPARE(link->palette().color(QPalette::WindowText), blue);
    QTest::mouseMove(link);
    QTRY_COMPARE(link->palette().color(QPalette::WindowText), windowText);
    QTest::mouseMove(ok);
    QTRY_COMPARE(link->palette().color(QPalette::WindowText), blue);
}

void TAboutFormTest::linkClickOpensWebPageOnce()
{
    const QUrl page = TAboutForm::WebPageUrl();
    QVERIFY(page.isValid());
    QCOMPARE(page.scheme(), QStringLiteral("https"));
    QVERIFY(!page.host().isEmpty());

    UrlRecorder browser;
    TAboutForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* link = form.findChild<QLabel*>(QStringLiteral("AboutLink"));
    QVERIFY(link);

    QTest::mouseClick(link, Qt::LeftButton);

    QCOMPARE(browser.opened, QList<QUrl>{page});
    QVERIFY(form.isVisible());
}

void TAboutFormTest::linkPressReleasedElsewhereOpensNothing()
{
    UrlRecorder browser;
    TAboutForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* link = form.findChild<QLabel*>(QStringLiteral("AboutLink"));
    QVERIFY(link);

    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 40, link->height() / 2));
    QTest::mouseClick(link, Qt::RightButton);

    QCOMPARE(browser.opened, QList<QUrl>{});
}

void TAboutFormTest::okClosesModalWindow()
{
    TAboutForm form;
    bool wasModal = false;
    const ModalRun run = RunModal([&] { form.exec(); },
        [&](QWidget* modal) {
            wasModal = modal == &form && form.isModal() && form.isVisible();
            if (auto* ok = modal->findChild<QPushButton*>(QStringLiteral("OkButton")))
                QTest::mouseClick(ok, Qt::LeftButton);
        });
    QVERIFY(run.reached);
    QVERIFY(wasModal);
    QVERIFY2(!run.leftOpen, "Ок did not close the window");
    QVERIFY(!form.isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TAboutFormTest::openingTwiceShowsTheSameText()
{
    TAboutForm form;
    QList<Shown> showings;
    for (int time = 0; time < 2; ++time) {
        const ModalRun run = RunModal([&] { form.exec(); },
            [&](QWidget* modal) {
                showings.append(Read(modal));
                if (auto* ok = modal->findChild<QPushButton*>(QStringLiteral("OkButton")))
                    QTest::mouseClick(ok, Qt::LeftButton);
            });
        QVERIFY(run.reached);
        QVERIFY(!run.leftOpen);
    }
    QCOMPARE(showings.size(), 2);
    QVERIFY(!showings[0].memo.isEmpty());
    QVERIFY(showings[0] == showings[1]);
    QVERIFY(showings[0] == Read(&form));
}

void TAboutFormTest::opensCentredOnItsOwner()
{
    QWidget owner;
    owner.setGeometry(120, 90, 686, 250);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    TAboutForm form(&owner);

    // The second showing follows the owner to its new place.
    const QList<QPoint> ownerPlaces = {QPoint(120, 90), QPoint(60, 200)};
    for (const QPoint& place : ownerPlaces) {
        owner.move(place);
        QPoint ownerCentre;
        QPoint formCentre;
        const ModalRun run = RunModal([&] { form.exec(); },
            [&](QWidget* modal) {
                ownerCentre = owner.frameGeometry().center();
                formCentre = modal->frameGeometry().center();
                modal->close();
            });
        QVERIFY(run.reached);
        QVERIFY2((formCentre - ownerCentre).manhattanLength() <= 2,
            qPrintable(QStringLiteral("owner centre %1,%2, window centre %3,%4")
                           .arg(ownerCentre.x())
                           .arg(ownerCentre.y())
                           .arg(formCentre.x())
                           .arg(formCentre.y())));
    }
}

void TAboutFormTest::staysOnTheScreenWhenItsOwnerIsAtTheEdge()
{
    QWidget owner;
    owner.resize(686, 250);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const QRect available = owner.screen()->availableGeometry();
    TAboutForm form(&owner);

    const QList<QPoint> ownerPlaces = {available.bottomRight() - QPoint(100, 50),
        available.topLeft() - QPoint(owner.width() - 100, owner.height() - 50)};
    for (const QPoint& place : ownerPlaces) {
        owner.move(place);
        QRect shownAt;
        const ModalRun run = RunModal([&] { form.exec(); },
            [&](QWidget* modal) {
                shownAt = modal->frameGeometry();
                modal->close();
            });
        QVERIFY(run.reached);
        QVERIFY2(available.contains(shownAt),
            qPrintable(QStringLiteral("shown at %1,%2").arg(shownAt.x()).arg(shownAt.y())));
    }
}

void TAboutFormTest::iconResourceLoads()
{
    const QIcon icon(QStringLiteral(":/icons/kalmir.svg"));
    for (int size : {16, 32, 64}) {
        const QPixmap pixmap = icon.pixmap(size);
        QVERIFY2(!pixmap.isNull(), qPrintable(QStringLiteral("size %1").arg(size)));
        QCOMPARE(pixmap.toImage().pixelColor(size / 2, size / 2).alpha(), 255);
    }
}

void TAboutFormTest::openingFromTheMenuLeavesTheMainWindowUnchanged()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList messages;
    TMainForm::UserDialogs dialogs;
    dialogs.showMessage = [&](QWidget*, const QString& text) { messages << text; };
    dialogs.askRetrySave = [](QWidget*, const QString&) { return false; };
    dialogs.today = [] { return QDate(2024, 3, 15); };
    TMainForm mainForm(dir.filePath(QStringLiteral("u.ini")), dialogs);
    TAboutForm aboutForm(&mainForm);
    AboutForm = &aboutForm;
    const auto forgetAboutForm = qScopeGuard([] { AboutForm = nullptr; });
    mainForm.move(150, 120);
    mainForm.show();
    mainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainForm));
    QVERIFY(!mainForm.windowIcon().pixmap(32).isNull());

    // A period in the list, selected, so that there is something to lose.
    auto* alias = mainForm.findChild<QLineEdit*>(QStringLiteral("AliasEdit"));
    auto* from = mainForm.findChild<QLineEdit*>(QStringLiteral("DateTimePickerFrom"));
    auto* to = mainForm.findChild<QLineEdit*>(QStringLiteral("DateTimePickerTo"));
    auto* add = mainForm.findChild<QPushButton*>(QStringLiteral("AddInterval"));
    auto* periods = mainForm.findChild<QListWidget*>(QStringLiteral("IntervalsListBox"));
    auto* about = mainForm.findChild<QAction*>(QStringLiteral("About"));
    QVERIFY(alias && from && to && add && periods);
    QVERIFY2(about, "missing: About");
    QCOMPARE(about->text(), QStringLiteral("О программе"));
    alias->setText(QStringLiteral("Завод"));
    from->setText(QStringLiteral("01.09.1995"));
    to->setText(QStringLiteral("31.08.2001"));
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(periods->count(), 1);
    periods->item(0)->setSelected(true);
    alias->setFocus();
    QTRY_VERIFY(alias->hasFocus());

    const QStringList before = MainWindowState(&mainForm);
    QList<Shown> showings;
    for (int time = 0; time < 2; ++time) {
        bool centred = false;
        const ModalRun run = RunModal([&] { about->trigger(); },
            [&](QWidget* modal) {
                showings.append(Read(modal));
                centred = modal == &aboutForm
                    && (modal->frameGeometry().center() - mainForm.frameGeometry().center()).manhattanLength() <= 2;
                if (auto* ok = modal->findChild<QPushButton*>(QStringLiteral("OkButton")))
                    QTest::mouseClick(ok, Qt::LeftButton);
            });
        QVERIFY(run.reached);
        QVERIFY(!run.leftOpen);
        QVERIFY2(centred, "the About window is not the modal window centred on the main window");
        QCOMPARE(MainWindowState(&mainForm), before);
    }

    QCOMPARE(showings.size(), 2);
    QCOMPARE(showings[0].caption, QStringLiteral("О программе Калмир 1.0"));
    QVERIFY(showings[0] == showings[1]);
    QCOMPARE(messages, QStringList{});
}

void TAboutFormTest::dataFilePathStandsBelowTheLink_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("whole"); // short enough to be shown whole
    QTest::newRow("short") << QStringLiteral("/opt/kalmir/u.ini") << true;
    QTest::newRow("long") << QStringLiteral("/home/user/.local/share/Калмир/Программа расчета стажа/u.ini") << false;
}

// The data file in use is named in its own line below the link, left of "Ок": a long path is
// shortened in its middle, the whole path is its tooltip. The designed controls stay as they are.
void TAboutFormTest::dataFilePathStandsBelowTheLink()
{
    QFETCH(QString, path);
    QFETCH(bool, whole);
    TAboutForm form;
    form.ShowDataFilePath(path);
    auto* label = form.findChild<QLabel*>(QStringLiteral("DataFileLabel"));
    auto* link = form.findChild<QLabel*>(QStringLiteral("AboutLink"));
    auto* ok = form.findChild<QPushButton*>(QStringLiteral("OkButton"));
    auto* group = form.findChild<QGroupBox*>(QStringLiteral("AboutGroupBox"));
    QVERIFY(label && link && ok && group);
    QCOMPARE(label->parentWidget(), group);
    QVERIFY(!label->geometry().intersects(link->geometry()));
    QVERIFY(!label->geometry().intersects(ok->geometry()));
    QVERIFY(group->rect().contains(label->geometry()));
    QVERIFY(label->geometry().top() >= link->geometry().bottom());

    const QString line = QStringLiteral("Файл записей: ") + path;
    QCOMPARE(label->toolTip(), line);
    QCOMPARE(label->accessibleName(), line);
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    if (whole) {
        QCOMPARE(label->text(), line);
    } else {
        QVERIFY(label->text().startsWith(QStringLiteral("Файл записей: /")));
        QVERIFY(label->text().endsWith(QStringLiteral("u.ini")));
        QVERIFY(label->text().size() < line.size());
    }
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("AboutLink"))->pos(), QPoint(16, 236));
}

QTEST_MAIN(TAboutFormTest)
#include "AboutTest.moc"
