#include "platform/FatalEnd.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <signal.h>

namespace folianto {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// Process-wide by nature: signal dispositions belong to the process.
FatalEndHandler g_handler = nullptr;
volatile std::sig_atomic_t g_ran = 0;
bool g_installed = false;
struct sigaction g_previous[kSignalCount];
std::terminate_handler g_previousTerminate = nullptr;
// Own stack, so that a stack overflow still reaches the handler.
alignas(16) char g_altStack[64 * 1024];

void RunOnce(int code)
{
    if (g_ran)
        return;
    g_ran = 1;
    if (const FatalEndHandler h = g_handler)
        h(code);
}

extern "C" void OnFatalSignal(int sig)
{
    RunOnce(sig);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    // Blocked until the handler returns; then the default action applies. A
    // fault re-executes the faulting instruction and dies the same way.
    ::raise(sig);
}

[[noreturn]] void OnTerminate()
{
    RunOnce(SIGABRT);
    if (g_previousTerminate)
        g_previousTerminate(); // prints the uncaught exception, then aborts
    std::abort();
}

void Install()
{
    stack_t ss {};
    ss.ss_sp = g_altStack;
    ss.ss_size = sizeof g_altStack;
    ::sigaltstack(&ss, nullptr);

    struct sigaction sa {};
    sa.sa_handler = OnFatalSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_ONSTACK;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &sa, &g_previous[i]);
    g_previousTerminate = std::set_terminate(OnTerminate);
    g_installed = true;
}

void Uninstall()
{
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    std::set_terminate(g_previousTerminate);
    g_previousTerminate = nullptr;
    g_installed = false;
}

} // namespace

void SetFatalEndHandler(FatalEndHandler handler)
{
    g_handler = handler;
    if (handler && !g_installed) {
        g_ran = 0;
        Install();
    } else if (!handler && g_installed) {
        Uninstall();
    }
}

} // namespace folianto
