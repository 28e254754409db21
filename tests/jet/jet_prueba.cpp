// jet-prueba [--jet3] ORIGEN DESTINO: writes the tables of the program's database file ORIGEN
// (all but its stored commands) into a new database file of the Jet engine, the newer format
// unless --jet3 is given, so that the import can be tried on the files offices keep.
#include "EscritorJet.h"
#include "Fechas.h"

#include <QCoreApplication>
#include <cstdio>
#include <sqlite3.h>

namespace {

QString Texto(const unsigned char* s) {
    return QString::fromUtf8(reinterpret_cast<const char*>(s));
}

// The column types an office's database has for what the program's file declares.
Jet::Tipo TipoDe(const QString& declarado, bool largo) {
    const QString d = declarado.toUpper();
    if (d.contains(QLatin1String("INT")))
        return Jet::Tipo::Largo;
    if (d.contains(QLatin1String("BOOL")))
        return Jet::Tipo::SiNo;
    if (d.contains(QLatin1String("DOUBLE")) || d.contains(QLatin1String("REAL")))
        return Jet::Tipo::Doble;
    if (d.contains(QLatin1String("DATE")))
        return Jet::Tipo::Fecha;
    return largo ? Jet::Tipo::Memo : Jet::Tipo::Texto;
}

QStringList Consultar(sqlite3* db, const QString& sql) {
    QStringList r;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        r << Texto(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return r;
}

bool LeerTabla(sqlite3* db, const QString& nombre, Jet::Tabla* t) {
    t->nombre = nombre;
    const QStringList tipos =
        Consultar(db, QStringLiteral("SELECT type FROM pragma_table_info('%1')").arg(nombre));
    const QStringList columnas =
        Consultar(db, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(nombre));
    const QStringList claves = Consultar(
        db, QStringLiteral("SELECT name FROM pragma_table_info('%1') WHERE pk = 1").arg(nombre));
    const bool autonumerada =
        !Consultar(db,
                   QStringLiteral("SELECT name FROM sqlite_sequence WHERE name = '%1'").arg(nombre))
             .isEmpty() ||
        Consultar(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'").arg(nombre))
            .value(0)
            .contains(QLatin1String("AUTOINCREMENT"));
    for (int i = 0; i < columnas.size(); ++i) {
        const bool largo =
            !Consultar(db, QStringLiteral("SELECT 1 FROM %1 WHERE length(%2) > 255 LIMIT 1")
                               .arg(nombre, columnas[i]))
                 .isEmpty();
        t->columnas << Jet::Columna{columnas[i], TipoDe(tipos[i], largo),
                                    autonumerada && claves == QStringList{columnas[i]}};
    }
    if (claves.size() == 1) {
        const qint64 mayor =
            Consultar(db, QStringLiteral("SELECT max(%1) FROM %2").arg(claves[0], nombre))
                .value(0)
                .toLongLong();
        const qint64 contador =
            Consultar(
                db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = '%1'").arg(nombre))
                .value(0)
                .toLongLong();
        t->siguienteClave = qint32(std::max(mayor, contador) + 1);
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, ("SELECT * FROM " + nombre).toUtf8().constData(), -1, &st,
                           nullptr) != SQLITE_OK)
        return false;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QVariantList fila;
        for (int c = 0; c < t->columnas.size(); ++c) {
            const Jet::Tipo tipo = t->columnas[c].tipo;
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL:
                fila << QVariant();
                break;
            case SQLITE_INTEGER:
                fila << (tipo == Jet::Tipo::SiNo ? QVariant(sqlite3_column_int64(st, c) != 0)
                                                 : QVariant(qint64(sqlite3_column_int64(st, c))));
                break;
            case SQLITE_FLOAT:
                fila << sqlite3_column_double(st, c);
                break;
            default:
                const QString s = Texto(sqlite3_column_text(st, c));
                fila << (tipo == Jet::Tipo::Fecha ? QVariant(Fechas::Leer(s)) : QVariant(s));
            }
        }
        t->filas << fila;
    }
    sqlite3_finalize(st);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool jet3 = args.removeAll(QStringLiteral("--jet3")) > 0;
    if (args.size() != 2) {
        std::fputs("Uso: jet-prueba [--jet3] ORIGEN DESTINO\n", stderr);
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(args[0].toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "No se pudo abrir %s\n", qPrintable(args[0]));
        return 1;
    }
    QList<Jet::Tabla> tablas;
    bool ok = true;
    for (const QString& nombre : Consultar(
             db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                                "LIKE 'sqlite%' AND name <> 'comandos' ORDER BY rowid"))) {
        tablas << Jet::Tabla();
        ok = ok && LeerTabla(db, nombre, &tablas.last());
    }
    sqlite3_close(db);
    QString error;
    if (!ok ||
        !Jet::Escribir(args[1], jet3 ? Jet::Version::Jet3 : Jet::Version::Jet4, tablas, &error)) {
        std::fprintf(stderr, "%s\n", ok ? qPrintable(error) : "No se pudo leer el origen");
        return 1;
    }
    return 0;
}
