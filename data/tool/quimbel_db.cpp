// quimbel-db: creates, checks and queries Quimbel databases through the program's own
// data-access code.
#include "CadenaHistorial.h"
#include "Conexiones.h"
#include "Contrasena.h"
#include "Copia.h"
#include "Demo.h"
#include "Ejecutor.h"
#include "Esquema.h"
#include "Fechas.h"
#include "Historial.h"
#include "ImportarAccess.h"
#include "Mensajes.h"
#include "ProteccionPg.h"
#include "Reloj.h"
#include "quimbel_version.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Asked for (--help), the usage goes to the standard output and is no error.
int Uso(bool pedido = false) {
    std::fputs("Uso:\n"
               "  quimbel-db crear [--demo] RUTA\n"
               "  quimbel-db verificar RUTA\n"
               "  quimbel-db sql RUTA \"TEXTO\"\n"
               "  quimbel-db ejecutar RUTA NOMBRE [VALOR...]\n"
               "  quimbel-db historial RUTA [ORDEN]\n"
               "  quimbel-db copiar ORIGEN DESTINO\n"
               "  quimbel-db importar ARCHIVO.mdb DESTINO\n"
               "  quimbel-db proteger postgresql://dueño@servidor/base\n"
               "  quimbel-db --version | --help\n"
               "RUTA, ORIGEN y DESTINO: un archivo o postgresql://usuario@servidor/base\n",
               pedido ? stdout : stderr);
    return pedido ? 0 : 2;
}

void Imprimir(const QString& s) {
    std::fputs(s.toUtf8().constData(), stdout);
}

QString Celda(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QStringLiteral("\\N");
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return Fechas::Texto(v.toDateTime());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString()
            .replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
}

void ImprimirFilas(Recordset& rs) {
    if (!rs.Abierto())
        return;
    Imprimir(rs.NombresCampos().join(QLatin1Char('\t')) + QLatin1Char('\n'));
    for (int i = 0; i < rs.RecordCount(); ++i) {
        QStringList celdas;
        for (const QVariant& v : rs.Fila(i))
            celdas << Celda(v);
        Imprimir(celdas.join(QLatin1Char('\t')) + QLatin1Char('\n'));
    }
}

bool Conectar(const QString& ruta) {
    if (!EsServidor(ruta) && !QFileInfo(ruta).isFile()) {
        std::fprintf(stderr, "No existe el archivo %s\n", qPrintable(ruta));
        return false;
    }
    return CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), ruta) &&
           AbrirConexion(QString::fromLatin1(kOrigenDeDatos),
                         QString::fromLatin1(kClaveBaseDeDatos));
}

int Crear(const QStringList& args) {
    const bool demo = args.contains(QStringLiteral("--demo"));
    QStringList resto = args;
    resto.removeAll(QStringLiteral("--demo"));
    if (resto.size() != 1)
        return Uso();
    const QString ruta = resto.first();
    QString error;
    if (!Esquema::Crear(ruta, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    bool ok = Conectar(ruta);
    Recordset rs;
    ok = ok && EjecutarComando(QStringLiteral("usuario_insertar"), rs,
                               {QStringLiteral("korva"), Contrasena::Cifrar(QString()),
                                QStringLiteral("Korva Administrador"), 1, 1, 1});
    QStringList lineas;
    if (ok && demo) {
        lineas = CargarDatosDeDemostracion();
        ok = !lineas.isEmpty();
    }
    CerrarConexion();
    if (!ok) {
        if (!EsServidor(ruta))
            QFile::remove(ruta);
        std::fprintf(stderr, "No se pudo crear la base de datos %s\n", qPrintable(ruta));
        return 1;
    }
    Imprimir(QStringLiteral("Base de datos creada: %1\n").arg(ruta));
    if (!demo)
        Imprimir(QStringLiteral("Administrador: korva, contraseña vacía\n"));
    for (const QString& l : lineas)
        Imprimir(l + QLatin1Char('\n'));
    return 0;
}

// What the history's chain says, on the standard output when it holds and on the error output
// when it does not; 0 when it holds.
int InformarCadena(const CadenaHistorial::Estado& cadena) {
    if (cadena.Integro()) {
        Imprimir(cadena.Describir() + QLatin1Char('\n'));
        Imprimir(QStringLiteral("Última huella: %1\n").arg(QLatin1String(cadena.ultima)));
        return 0;
    }
    std::fprintf(stderr, "%s\n", qPrintable(cadena.Describir()));
    return 1;
}

int Verificar(const QStringList& args) {
    if (args.size() != 1)
        return Uso();
    if (EsServidor(args[0])) {
        if (!Conectar(args[0]))
            return 1;
        Imprimir(QStringLiteral("Esquema completo.\n"));
        const int r = InformarCadena(CadenaHistorial::Comprobar(Conexion()));
        CerrarConexion();
        return r;
    }
    if (!QFileInfo(args[0]).isFile()) {
        std::fprintf(stderr, "No existe el archivo %s\n", qPrintable(args[0]));
        return 1;
    }
    QString error;
    sqlite3* db = Esquema::AbrirArchivo(args[0], false, &error);
    if (!db) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QStringList faltan = Esquema::Verificar(db);
    int r = faltan.isEmpty() ? 0 : 1;
    for (const QString& f : faltan)
        std::fprintf(stderr, "%s\n", qPrintable(f));
    if (faltan.isEmpty())
        Imprimir(QStringLiteral("Esquema completo.\n"));
    // A file of an older version is chained when the program opens it; until then it has no
    // chain to check.
    if (const int version = Esquema::Version(db); r == 0 && version < Esquema::kVersionCadena)
        Imprimir(QStringLiteral("Historial sin encadenar: la base de datos es de la versión %1 y "
                                "se encadena al abrirla con el programa.\n")
                     .arg(version));
    else if (r == 0)
        r = InformarCadena(CadenaHistorial::Comprobar(db));
    sqlite3_close(db);
    return r;
}

int Sql(const QStringList& args) {
    if (args.size() != 2)
        return Uso();
    if (!Conectar(args[0]))
        return 1;
    Recordset rs;
    const bool ok = AbrirRecordset(args[1], rs);
    ImprimirFilas(rs);
    CerrarConexion();
    return ok ? 0 : 1;
}

int EjecutarCmd(const QStringList& args) {
    if (args.size() < 2)
        return Uso();
    if (!Conectar(args[0]))
        return 1;
    QVariantList valores;
    for (const QString& v : args.mid(2))
        valores << v;
    Recordset rs;
    const bool ok = EjecutarComando(args[1], rs, valores);
    ImprimirFilas(rs);
    CerrarConexion();
    return ok ? 0 : 1;
}

// Every change, or one order's (also once the order is deleted), newest first.
int HistorialCmd(const QStringList& args) {
    if (args.isEmpty() || args.size() > 2)
        return Uso();
    bool ok = true;
    const int orden = args.size() == 2 ? args[1].toInt(&ok) : 0;
    if (!ok || orden < 0)
        return Uso();
    if (!Conectar(args[0]))
        return 1;
    QList<Historial::Entrada> entradas;
    ok = Historial::LeerHistorial(orden, &entradas);
    CerrarConexion();
    if (!ok)
        return 1;
    Imprimir(QStringLiteral("Cambio\tFecha\tUsuario\tTipo\tTabla\tClave\tOrden\tCampo\tAnterior\t"
                            "Nuevo\n"));
    for (const Historial::Entrada& e : entradas) {
        const QStringList celdas{QString::number(e.cambio),
                                 Celda(e.fecha),
                                 Celda(e.login),
                                 Celda(e.tipo),
                                 Celda(e.tabla),
                                 QString::number(e.clave),
                                 e.ordId > 0 ? QString::number(e.ordId) : QStringLiteral("\\N"),
                                 Celda(e.campo),
                                 Celda(e.anterior),
                                 Celda(e.nuevo)};
        Imprimir(celdas.join(QLatin1Char('\t')) + QLatin1Char('\n'));
    }
    return 0;
}

int Copiar(const QStringList& args) {
    if (args.size() != 2)
        return Uso();
    const ResultadoCopia r = CopiarBaseDeDatos(args[0], args[1]);
    if (!r.Hecha()) {
        std::fprintf(stderr, "No se copió la base de datos: %s\n", qPrintable(r.causa));
        return 1;
    }
    qsizetype ancho = 16;
    for (const FilasDeTabla& f : r.filas)
        ancho = std::max(ancho, f.tabla.size());
    const int columna = -static_cast<int>(ancho);
    Imprimir(QStringLiteral("%1 %2 %3\n")
                 .arg(QStringLiteral("tabla"), columna)
                 .arg(QStringLiteral("origen"), 10)
                 .arg(QStringLiteral("destino"), 10));
    for (const FilasDeTabla& f : r.filas)
        Imprimir(QStringLiteral("%1 %2 %3\n")
                     .arg(f.tabla, columna)
                     .arg(f.origen, 10)
                     .arg(f.destino, 10));
    Imprimir(QStringLiteral("Copia terminada: %1 -> %2\n").arg(args[0], args[1]));
    return 0;
}

int Importar(const QStringList& args) {
    if (args.size() != 2)
        return Uso();
    const ResultadoImportacion r = ImportarAccess(args[0], args[1]);
    if (!r.Hecha()) {
        std::fprintf(stderr, "No se importó la base de datos: %s\n", qPrintable(r.copia.causa));
        // A reconciliation that did not match is shown: it says where the difference lies.
        if (!(r.origen == r.destino))
            std::fprintf(
                stderr, "%s\n",
                qPrintable(TextoConciliacion(r.origen, r.destino).join(QLatin1Char('\n'))));
        return 1;
    }
    Imprimir(InformeImportacion(r).join(QLatin1Char('\n')) + QLatin1Char('\n'));
    Imprimir(QStringLiteral("Importación terminada: %1 -> %2\n").arg(args[0], args[1]));
    return 0;
}

// Run by the database's owner: every person gets a role of their own with a temporary password,
// printed once here, and the stored password hashes are erased.
int Proteger(const QStringList& args) {
    if (args.size() != 1 || !EsServidor(args[0]))
        return Uso();
    QString error;
    pg_conn* db = Esquema::ConectarServidor(args[0], &error);
    QStringList lineas;
    const bool ok = db && ProteccionPg::Proteger(db, &lineas, &error);
    PQfinish(db);
    if (!ok) {
        std::fprintf(stderr, "No se protegió la base de datos: %s\n", qPrintable(error));
        return 1;
    }
    Imprimir(QStringLiteral("login, rol, contraseña temporal\n"));
    for (const QString& l : lineas)
        Imprimir(l + QLatin1Char('\n'));
    Imprimir(QStringLiteral("Base de datos protegida: %1\n").arg(args[0]));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    Reloj::PrepararZonaHoraria();
    QCoreApplication app(argc, argv);
    Mensajes::ModoConsola(true);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Uso();
    const QString orden = args.takeFirst();
    if (orden == QLatin1String("--version")) {
        std::puts("quimbel-db (Quimbel) " QUIMBEL_VERSION);
        return 0;
    }
    if (orden == QLatin1String("--help") || orden == QLatin1String("-h"))
        return Uso(true);
    if (orden == QLatin1String("crear"))
        return Crear(args);
    if (orden == QLatin1String("verificar"))
        return Verificar(args);
    if (orden == QLatin1String("sql"))
        return Sql(args);
    if (orden == QLatin1String("ejecutar"))
        return EjecutarCmd(args);
    if (orden == QLatin1String("historial"))
        return HistorialCmd(args);
    if (orden == QLatin1String("copiar"))
        return Copiar(args);
    if (orden == QLatin1String("importar"))
        return Importar(args);
    if (orden == QLatin1String("proteger"))
        return Proteger(args);
    return Uso();
}
