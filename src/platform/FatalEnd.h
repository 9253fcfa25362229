#pragma once
// A last word before the process dies of a fatal signal (SIGSEGV, SIGABRT,
// SIGBUS, SIGFPE, SIGILL) or of std::terminate.

namespace folianto {

// Runs in signal context: it may only do async-signal-safe work (no
// allocation, no locks, no stdio). `code` is the signal number; SIGABRT for
// std::terminate. It runs at most once per process.
using FatalEndHandler = void (*)(int code) noexcept;

// Installs the handler (replacing an earlier one). After it has run, the
// signal's default action ends the process, so exit status and core dump stay
// as without it. nullptr restores the handlers that were there before.
void SetFatalEndHandler(FatalEndHandler handler);

} // namespace folianto
