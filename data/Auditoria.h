#pragma once

#include "Historial.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The auditor's reading of the whole history: every line of every table, deleted orders
// included, narrowed by what the auditor asks for, and whether the history's chain still holds.
// Nothing here shows anything; a database refusal has been reported by the data-access module.
namespace Auditoria {

// What the lines must match; an empty or zero member matches everything.
struct Filtro {
    QDate desde; // days, both included
    QDate hasta;
    QString login;
    QString tipo;
    QString tabla;
    int ordId = 0;
};

// The lines that match, newest moment first; the lines of one change together, in the order
// they were written.
[[nodiscard]] bool LeerLineas(const Filtro& filtro, QList<Historial::Entrada>* entradas);

// The logins, kinds of change and tables the history holds, each sorted, for the filters.
struct Valores {
    QStringList logins;
    QStringList tipos;
    QStringList tablas;
};
[[nodiscard]] bool LeerValores(Valores* valores);

// The whole chain checked on the database as it is now.
struct EstadoCadena {
    bool integra = false;
    QString descripcion; // for people: up to which line it holds, or the first that does not
    QString detalle;     // the check's own account: how many lines, chained since which one
};
EstadoCadena ComprobarCadena();

} // namespace Auditoria
