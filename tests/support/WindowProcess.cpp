// The main window as a program of its own, for the test that ends it by a signal:
//   window_process PATH   shows the main window over the data file PATH and saves the record
//                         "Иванов" at once, as the user would. It prints each message as
//                         "message: TEXT", "busy" when another window holds the file (the write
//                         is put off), "saved" after the save, and "closed" when its loop ended.
// It ends as the program does: by closing its window.
#include "Dateinterval.h"
#include "QuitRequest.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

void Print(const QString& line)
{
    // One line each: a message's own line ends are shown as " / ".
    std::printf("%s\n", QString(line).replace(u'\n', QStringLiteral(" / ")).toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    TMainForm::UserDialogs dialogs;
    dialogs.showMessage = [](QWidget*, const QString& text) { Print(QStringLiteral("message: ") + text); };
    dialogs.askRetryLock = [](QWidget*, const QString&) {
        Print(QStringLiteral("busy"));
        return false;
    };
    dialogs.askRetrySave = [](QWidget*, const QString& text) {
        Print(QStringLiteral("retry? ") + text);
        return false;
    };
    dialogs.today = [] { return QDate(2024, 3, 15); };
    dialogs.lockWait = std::chrono::milliseconds(100);
    TMainForm form(QString::fromLocal8Bit(argv[1]), dialogs);
    CloseOnQuitRequest closeOnQuit(&form);
    form.show();
    QTimer::singleShot(0, &form, [&form] {
        form.findChild<QLineEdit*>(QStringLiteral("SaveEdit"))->setText(QStringLiteral("Иванов"));
        form.findChild<QPushButton*>(QStringLiteral("SaveUserButton"))->click();
        Print(QStringLiteral("saved"));
    });
    const int result = QApplication::exec();
    Print(QStringLiteral("closed"));
    return result;
}
