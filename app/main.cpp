#include "About.h"
#include "Dateinterval.h"
#include "QtTranslation.h"
#include "QuitRequest.h"

#include <QApplication>

#include <exception>

namespace {

void ShowException(const std::exception* error)
{
    TMainForm::StandardDialogs().showMessage(nullptr, error ? QString::fromLocal8Bit(error->what()) : QString());
}

// An exception thrown by a handler is shown and the program goes on, instead of ending it with
// the records of the run unsaved.
class Application : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            ShowException(&error);
        } catch (...) {
            ShowException(nullptr);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    InstallQtTranslation(application);
    // The name, not the display name: Qt would append a display name to every window caption.
    QApplication::setApplicationName(TMainForm::ApplicationTitle());
    // The desktop finds the window's menu entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KALMIR_APP_ID));
    // With the application's name, the per-user data folder: "Калмир/Программа расчета стажа".
    QApplication::setOrganizationName(QStringLiteral("Калмир"));
    try {
        TMainForm mainForm;
        MainForm = &mainForm;
        TAboutForm aboutForm(&mainForm);
        AboutForm = &aboutForm;
        aboutForm.ShowDataFilePath(mainForm.DataFileInUse());
        // A logout, Ctrl+C or kill closes the window as its close box does: the records are written.
        CloseOnQuitRequest closeOnQuit(&mainForm);
        mainForm.show();
        QApplication::exec();
        AboutForm = nullptr;
        MainForm = nullptr;
    } catch (const std::exception& error) {
        AboutForm = nullptr;
        MainForm = nullptr;
        ShowException(&error);
    } catch (...) {
        AboutForm = nullptr;
        MainForm = nullptr;
        ShowException(nullptr);
    }
    return 0;
}
