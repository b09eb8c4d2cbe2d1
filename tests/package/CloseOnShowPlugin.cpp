// A Qt generic plugin that closes every window as soon as it is shown. The package check loads it
// into the installed program (QT_QPA_GENERIC_PLUGINS=closeonshow, QT_PLUGIN_PATH at the folder that
// holds generic/): the program then runs its own start-up and its own close, which writes the data
// file, and ends by itself, with no display, no command-line option and nobody at the keyboard.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QTimer>
#include <QWindow>

namespace {

constexpr QLatin1StringView PluginKey("closeonshow");

// Watches every event of the application for a window being shown.
class CloseOnShow : public QObject {
public:
    explicit CloseOnShow(QObject* application) { application->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The close waits for the event loop: the window is shown in full first, as for a person.
        if (event->type() == QEvent::Show)
            if (auto* window = qobject_cast<QWindow*>(watched))
                QTimer::singleShot(0, window, [window] { window->close(); });
        return false;
    }
};

} // namespace

class CloseOnShowPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "closeonshow.json")

public:
    QObject* create(const QString& key, const QString&) override
    {
        if (key.compare(PluginKey, Qt::CaseInsensitive) != 0)
            return nullptr;
        // The application owns what a generic plugin creates and deletes it at its end: a parent
        // would delete it a second time.
        return new CloseOnShow(QCoreApplication::instance());
    }
};

#include "CloseOnShowPlugin.moc"
