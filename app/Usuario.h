#pragma once

#include "Clave.h"
#include "ErrorPrograma.h"

#include <QString>

// The signed-in user's login exactly as typed: the only identity the program holds.
extern QString gLogin;

// The administrators: "KORVA" and "ZELTI" in any letter case.
bool EsAdministrador(const QString& login);
