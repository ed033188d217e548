#pragma once

namespace corvane {

// The process-wide side of owning a terminal: its saved line settings and the
// signal handlers that must put them back. Signal handlers can reach nothing
// but static storage, so this one record is process-wide; everything else of
// the terminal console lives in its object.
//
// While the session is active the terminal is in raw mode (no echo, no line
// editing, no flow control) with one signal key left: Ctrl+\ sends SIGQUIT,
// the terminal's counterpart of Ctrl+Break. Ctrl+C and Ctrl+Z arrive as keys.
//
// Every signal that ends the process (Ctrl+\, SIGTERM, SIGHUP, a crash...)
// first puts the terminal back, then takes its effect as it would have without
// the tool. SIGTSTP puts the terminal back before the process stops; SIGCONT
// puts raw mode back and asks for the whole screen to be drawn again. A signal
// that the process was started with ignored stays ignored.

// Saves the terminal's line settings (when `inputFile` is a terminal), puts
// it in raw mode, and installs the handlers. Registers the restore to run at
// exit as well. `outputFile` receives the start and restore sequences.
void BeginTerminalSession(int inputFile, int outputFile);

// Writes the restore sequence and puts the saved line settings back, once;
// later calls do nothing. Safe inside a signal handler.
void RestoreTerminalSession();

// Restores, then puts the signals' earlier handling back.
void EndTerminalSession();

// Whether the terminal's contents or size may have changed behind the
// program's back (SIGWINCH, or a return from being stopped) since the last
// call: the whole screen is then to be drawn again.
bool TakeRedrawNotice();

}  // namespace corvane
