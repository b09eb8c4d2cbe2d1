#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// Closes a window the normal way, as its close box does, when the process is asked to end:
// SIGTERM, SIGHUP and SIGINT (on Windows the console's Ctrl+C, Ctrl+Break and close), and the
// session manager's end of the session. The window's close handler then runs with its write and
// its questions, instead of the process ending on the spot. A request that comes while the
// window is closing, or after it closed, is ignored. One object at a time in a process; it
// restores the default handling when it goes.
class CloseOnQuitRequest : public QObject {
    Q_OBJECT

public:
    explicit CloseOnQuitRequest(QWidget* window);
    ~CloseOnQuitRequest() override;

    CloseOnQuitRequest(const CloseOnQuitRequest&) = delete;
    CloseOnQuitRequest& operator=(const CloseOnQuitRequest&) = delete;

    void CloseWindow();

private:
    QWidget* m_window;
    bool m_closing = false;
    QSocketNotifier* m_notifier = nullptr;
};
