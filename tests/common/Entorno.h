#pragma once

#include "Recordset.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A test's own world: a temporary folder with a settings file and a fresh database holding the
// schema and the administrator "korva" (empty password), opened as the shared connection. The
// database is a file in that folder, or, when QUIMBEL_PRUEBAS_MOTOR=postgresql, a database of
// its own on the server QUIMBEL_PRUEBAS_PG names (copied from a template made once per run of
// the executable, dropped at the end). That database is protected and the shared connection is
// korva's role (password "korva"), while what a test sets up with Sql, Insertar and Usuario runs
// as the owner; each user gets a role whose password is the user's own (the login when empty).
// QUIMBEL_PRUEBAS_PROTEGIDA=0 leaves it unprotected, the shared connection the owner's.
class Entorno {
public:
    explicit Entorno(bool abrir = true);
    ~Entorno();

    // "sqlite" or "postgresql": the engine this run of the tests uses.
    static QByteArray Motor();
    static bool EnServidor() { return Motor() == "postgresql"; }
    // On the server, protected: the shared connection is a person's role.
    static bool Protegida();
    // False when the run is meant for the server but none was given.
    static bool MotorDisponible();

    // The owner's connection in place of the shared one while it lives, on a protected server:
    // for set-up, and for the owner's own tools.
    class ComoDueno {
    public:
        ComoDueno();
        ~ComoDueno();
        ComoDueno(const ComoDueno&) = delete;
        ComoDueno& operator=(const ComoDueno&) = delete;

    private:
        QSqlDatabase antes_;
        bool activo_ = false;
    };

    // On a protected server, the shared connection becomes the person's role (the password the
    // login when empty, as Usuario gives it); elsewhere the connection stays as it is.
    void Entrar(const QString& login, const QString& clave = {});

    QString Carpeta() const { return dir_.path(); }
    // The database file, or the server database's URI.
    QString RutaBase() const { return ruta_; }
    QString RutaAjustes() const { return ajustes_; }

    // Runs SQL on the shared connection; fails the test (qFatal) when the engine refuses it.
    Recordset Sql(const QString& sql, const QVariantList& valores = {});
    // First column of the first row, or an invalid QVariant.
    QVariant Valor(const QString& sql, const QVariantList& valores = {});
    int Insertar(const char* comando, const QVariantList& valores);

    // Master data helpers that give the new row's id.
    int Usuario(const QString& login, const QString& clave, const QString& nombre, int solicitar,
                int autorizar, int cumplir);
    int Producto(const QString& descripcion, int catId = 1);
    int Proveedor(const QString& nombre, const QString& razon = QString());

    // A trigger on `tabla` at `momento` ("BEFORE INSERT", "AFTER INSERT", "BEFORE DELETE"...)
    // that, for the rows `cuando` selects (empty: all), runs the file engine's SQL `archivo` or
    // the server's PL/pgSQL `servidor`.
    void Disparador(const char* nombre, const char* momento, const char* tabla, const char* cuando,
                    const char* archivo, const char* servidor);
    // A trigger that makes the statement fail with `mensaje`, as a full disk or a rule would.
    void Rechazar(const char* nombre, const char* momento, const char* tabla, const char* cuando,
                  const char* mensaje);

    void QuitarDisparador(const char* nombre, const char* tabla);

    // With the connection closed: fills "sectores" over several pages, then overwrites the
    // table's first page with rubbish. The schema stays readable, so the file still opens.
    void DanarSectores();

private:
    QTemporaryDir dir_;
    QString ruta_;
    QString ajustes_;
};
