#pragma once

namespace corvane {

// The process-wide side of owning a terminal: its saved line settings and the
// signal handlers that must put them back. Signal handlers can reach nothing
// but static storage, so this one record is process-wide; everything else of
// the terminal console lives in its object.

// Saves the terminal's line settings (when `inputFile` is a terminal), puts
// it in raw mode, and installs the handlers: SIGHUP, SIGTERM and SIGINT
// restore the terminal and end the process by the signal's default action;
// SIGWINCH only notes that the size changed. Registers the restore to run at
// exit as well. `outputFile` receives the restore sequence.
void BeginTerminalSession(int inputFile, int outputFile);

// Writes the restore sequence and puts the saved line settings back, once;
// later calls do nothing. Safe inside a signal handler.
void RestoreTerminalSession();

// Restores, then removes the handlers.
void EndTerminalSession();

// Whether a SIGWINCH came since the last call.
bool TakeTerminalResizeNotice();

// Ends the process at once the way Ctrl+Break does: the terminal is
// restored, then the process dies of SIGINT, the terminal's interrupt.
[[noreturn]] void EndProcessByBreak();

}  // namespace corvane
