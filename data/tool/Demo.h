#pragma once

#include <QStringList>

// Believable sample data on the open shared connection; gives the lines to print for the person
// who asked (logins and passwords), or an empty list when a write failed.
QStringList CargarDatosDeDemostracion();
