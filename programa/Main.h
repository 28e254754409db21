#pragma once

class QApplication;

// The program's start-up: settings, database connection, sign-in, splash, backup, main window.
// Gives the process's exit code.
int Main(QApplication& app);
