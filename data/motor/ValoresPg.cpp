#include "ValoresPg.h"

#include "Esquema.h"
#include "Fechas.h"
#include "Valores.h"

#include <QHash>
#include <libpq-fe.h>

using Valores::TipoColumna;

namespace ValoresPg {
namespace {

// Type oids of the server's built-in types (fixed by the server's catalog).
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700
};

// Flags are smallint on the server (the file engine's BOOLEAN columns), read as bool like
// there; INTEGER columns stay integer.
TipoColumna TipoDe(Oid tipo) {
    switch (tipo) {
    case kBool:
    case kInt2:
        return TipoColumna::Booleano;
    case kInt4:
    case kInt8:
        return TipoColumna::Entero;
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return TipoColumna::Doble;
    case kDate:
    case kTimestamp:
    case kTimestampTz:
        return TipoColumna::Fecha;
    default:
        return TipoColumna::Texto;
    }
}

void LeerValor(const PGresult* r, int fila, int c, TipoColumna tipo, FilasCompactas& filas) {
    if (PQgetisnull(r, fila, c))
        return filas.AgregarNulo(c);
    const char* v = PQgetvalue(r, fila, c);
    const std::string_view t(v, static_cast<size_t>(PQgetlength(r, fila, c)));
    switch (tipo) {
    case TipoColumna::Booleano:
        return filas.AgregarBooleano(c, v[0] == 't' ||
                                            (v[0] != 'f' && QByteArray(v).toLongLong() != 0));
    case TipoColumna::Entero:
        return filas.AgregarEntero(c, QByteArray(v).toLongLong());
    case TipoColumna::Doble:
        return filas.AgregarDoble(c, QByteArray(v).toDouble());
    case TipoColumna::Fecha:
        // Fractions of a second and the zone are not part of the program's dates.
        if (!Fechas::AgregarLeida(t.substr(0, 19), filas, c))
            filas.AgregarTexto(c, t);
        return;
    default:
        return filas.AgregarTexto(c, t);
    }
}

// The server folds unquoted names to lower case; the program's columns keep their own.
QString NombreCanonico(const char* nombre) {
    static const QHash<QString, QString> canonicos = [] {
        QHash<QString, QString> h;
        for (const QString& c : Esquema::Columnas())
            h.insert(c.toLower(), c);
        for (const char* alias : {"Suma", "Cantidad"})
            h.insert(QString::fromLatin1(alias).toLower(), QString::fromLatin1(alias));
        return h;
    }();
    const QString n = QString::fromUtf8(nombre);
    return canonicos.value(n, n);
}

} // namespace

QByteArray Texto(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? "1" : "0";
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return Fechas::Texto(v.toDateTime()).toUtf8();
    case QMetaType::QDate:
        return Fechas::Texto(v.toDate().startOfDay()).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

void LeerColumnas(const PGresult* r, QStringList* nombres, QVector<TipoColumna>* tipos) {
    const int nCol = PQnfields(r);
    tipos->resize(nCol);
    nombres->clear();
    for (int c = 0; c < nCol; ++c) {
        (*tipos)[c] = TipoDe(PQftype(r, c));
        *nombres << NombreCanonico(PQfname(r, c));
    }
}

void AgregarFilas(const PGresult* r, const QVector<TipoColumna>& tipos, FilasCompactas* filas) {
    const int nFilas = PQntuples(r);
    const int nCol = static_cast<int>(tipos.size());
    for (int f = 0; f < nFilas; ++f) {
        for (int c = 0; c < nCol; ++c)
            LeerValor(r, f, c, tipos[c], *filas);
        filas->TerminarFila();
    }
}

void LeerFilas(const PGresult* r, QStringList* nombres, FilasCompactas* filas) {
    QVector<TipoColumna> tipos;
    LeerColumnas(r, nombres, &tipos);
    FilasCompactas leidas(static_cast<int>(tipos.size()));
    AgregarFilas(r, tipos, &leidas);
    leidas.Terminar();
    *filas = std::move(leidas);
}

} // namespace ValoresPg
