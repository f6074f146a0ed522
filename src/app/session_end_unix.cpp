#include "app/session_end.h"
#include "ui/tform1.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWindow>
#include <array>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace tavolin {

namespace {

// The signal handler's only safe work: one byte into a socket, which the
// event loop reads.
std::array<int, 2> signalSocket = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

// A DestroyNotify (17) of the window from the X server: its first byte is
// the event type, the window is the 32-bit value at byte 8.
// A child of the window: it goes with the window, and its base class takes it
// off the application's filters then.
class WindowLossFilter final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit WindowLossFilter(TForm1& form) : QObject(&form), form_(&form) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t" || !form_)
            return false;
        const auto* bytes = static_cast<const unsigned char*>(message);
        constexpr unsigned char kDestroyNotify = 17;
        if ((bytes[0] & 0x7F) != kDestroyNotify)
            return false;
        std::uint32_t window = 0;
        std::memcpy(&window, bytes + 8, sizeof window);
        if (window != form_->internalWinId())
            return false;
        // Qt takes the window that someone else destroyed for its own: once
        // this event is done it closes as the close button would, and where
        // the close is refused ("Nein", names not saved) it comes back.
        QMetaObject::invokeMethod(
            form_,
            [form = form_] {
                if (!form || form->close())
                    return;
                form->hide();
                if (QWindow* handle = form->windowHandle())
                    handle->destroy();
                form->show();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<TForm1> form_;
};

} // namespace

void HandleSessionEnd(QApplication& app, TForm1& form) {
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager&) { form.SaveAtSessionEnd(); });

    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        app.installNativeEventFilter(new WindowLossFilter(form));

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket.data()) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &form);
    QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form, notifier] {
        notifier->setEnabled(false);
        std::array<char, 16> bytes{};
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], bytes.data(), bytes.size());
        form.SaveAtSessionEnd();
        QCoreApplication::exit(0); // not quit(): that would close the window, asking
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace tavolin
