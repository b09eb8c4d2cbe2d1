#include "QuitRequest.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
// The console's handler runs on a thread of its own and reaches the object through static storage.
CloseOnQuitRequest* Instance = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    QMetaObject::invokeMethod(Instance, &CloseOnQuitRequest::CloseWindow, Qt::QueuedConnection);
    // The process ends when this returns from a close of the console: it waits instead, until the
    // window has closed and the program ends itself.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(INFINITE);
    return TRUE;
}
#else
// A signal handler may only write to a descriptor in static storage: the byte wakes the event
// loop, which closes the window outside the handler (the self-pipe).
int SignalPipe[2] = {-1, -1};

constexpr int QuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

void OnQuitSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[1], &byte, 1);
    errno = saved;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action { };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : QuitSignals)
        sigaction(signal, &action, nullptr);
}
#endif

} // namespace

CloseOnQuitRequest::CloseOnQuitRequest(QWidget* window)
    : m_window(window)
{
#ifdef Q_OS_WIN
    Instance = this;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
    if (::pipe(SignalPipe) == 0) {
        for (const int fd : SignalPipe) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        m_notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (::read(SignalPipe[0], bytes, sizeof bytes) > 0) { }
            CloseWindow();
        });
        SetHandler(OnQuitSignal);
    }
#endif
    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
            // Asked for, so that the close may put its questions; it closes either way.
            manager.allowsInteraction();
            CloseWindow();
        });
    }
}

CloseOnQuitRequest::~CloseOnQuitRequest()
{
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    Instance = nullptr;
#else
    if (m_notifier) {
        SetHandler(SIG_DFL);
        delete m_notifier;
        for (int& fd : SignalPipe) {
            ::close(fd);
            fd = -1;
        }
    }
#endif
}

void CloseOnQuitRequest::CloseWindow()
{
    if (m_closing || !m_window->isVisible())
        return;
    m_closing = true;
    m_window->close();
    m_closing = false;
}
