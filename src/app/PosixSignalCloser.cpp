#include "SignalCloser.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
unsigned g_closingLimitSeconds = SignalCloser::kClosingLimitSeconds;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnEndingSignal(int) {
    const int saved = errno;
    // The first signal sets the limit; later ones do not move it.
    const unsigned left = ::alarm(0);
    ::alarm(left != 0 ? left : g_closingLimitSeconds);
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing is lost.
    [[maybe_unused]] const auto written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

extern "C" void OnClosingLimit(int) {
    constexpr char message[] = "control-panel: the close did not end in time; ending now\n";
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(EXIT_FAILURE);
}

} // namespace

SignalCloser::SignalCloser(std::function<void()> close, unsigned closingLimitSeconds,
                           QObject* parent)
    : QObject(parent), close_(std::move(close)) {
    g_closingLimitSeconds = closingLimitSeconds;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("no pipe for the ending signals");
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SignalCloser::Drain);
    struct sigaction action = {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    struct sigaction limit = {};
    limit.sa_handler = OnClosingLimit;
    sigemptyset(&limit.sa_mask);
    ::sigaction(SIGALRM, &limit, nullptr);
}

SignalCloser::~SignalCloser() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    ::alarm(0);
    std::signal(SIGALRM, SIG_DFL);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalCloser::Drain() {
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    close_();
}
