#pragma once

#include <QString>

// The signed-in user's login exactly as typed: the only identity the program holds.
extern QString gLogin;

struct ErrorPrograma {
    int numero = 0;
    QString descripcion;
};

// Each character replaced by the next one of the single-byte code page (Windows-1252). A
// character that cannot be raised is reported through MostrarError and yields the empty text.
QString CodificarClave(const QString& clave);
// Normal pointer, then "Seleccione primero una empresa" for error 3021 or the description.
void MostrarError(const ErrorPrograma& error);
// The administrators: "KORVA" and "ZELTI" in any letter case.
bool EsAdministrador(const QString& login);
