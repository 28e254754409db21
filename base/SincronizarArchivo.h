#pragma once

#include <QString>

// Waits until what was written to the open file `descriptor` is on the disk. Some file systems
// (network shares, delayed allocation) tell a full disk only here. False, with the system's
// text, when the disk refused; true when there is nothing to wait for (no descriptor).
bool SincronizarArchivo(int descriptor, QString* error);
