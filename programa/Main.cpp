#include "Main.h"

#include "Accesibilidad.h"
#include "AvisoConexion.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Integridad.h"
#include "MedidaArranque.h"
#include "Pantalla.h"
#include "PresentadorMensajes.h"
#include "Programa.h"
#include "Respaldo.h"
#include "TraduccionesQt.h"
#include "VentanasEnPantalla.h"
#include "frmImportarAccess.h"
#include "frmLogin.h"
#include "frmOpciones.h"
#include "frmPresentacion.h"
#include "frmPrincipal.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace {

// A database that cannot be opened lets the user correct its location; the program then ends
// and the new location is used at the next start.
void AvisarYCorregir(const FalloApertura& fallo) {
    AvisarConexionFallida(fallo);
    frmOpciones::MostrarModal();
}

bool AbrirBase() {
    return AbrirConexion(QString::fromLatin1(kOrigenDeDatos),
                         QString::fromLatin1(kClaveBaseDeDatos));
}

// The file opened and checked (the check reads all of it); a failure to open it is kept in
// `fallo` rather than told, and what the check found in `danos`.
bool PrepararArchivo(std::optional<FalloApertura>* fallo, QStringList* danos) {
    AlFallarConexion([fallo](const FalloApertura& f) { *fallo = f; });
    // One that cannot be registered was told; opening it then fails too.
    static_cast<void>(CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), gDbPath));
    const bool abierta = AbrirBase();
    AlFallarConexion(AvisarYCorregir);
    if (!abierta)
        return false;
    *danos = RevisarBaseDeDatos(gDbPath);
    return danos->isEmpty();
}

// Whether someone signed in. The file is opened and checked once the sign-in window is on
// screen, while the person types (or when they sign in, if that comes first). A file that
// cannot be opened, or is damaged, closes the window before anyone can be let in, and is told
// once it has closed.
bool Ingresar(bool enServidor, bool ingresoAbre) {
    frmLogin login;
    login.ConectarAlIngresar = ingresoAbre;
    std::optional<FalloApertura> fallo;
    QStringList danos;
    std::optional<bool> preparada;
    login.AntesDeIngresar = [&] {
        if (!preparada)
            preparada = enServidor || PrepararArchivo(&fallo, &danos);
        return *preparada;
    };
    Pantalla::TrasElPrimerDibujo(&login, [&] {
        if (!login.AntesDeIngresar())
            static_cast<QDialog&>(login).reject();
    });
    login.exec();
    if (fallo) {
        AvisarYCorregir(*fallo);
        return false;
    }
    if (!danos.isEmpty()) {
        AvisarBaseDanada(gDbPath, gDbBackup, danos);
        return false;
    }
    if (!login.LoginSucceeded)
        CerrarConexion();
    return login.LoginSucceeded;
}

} // namespace

int Main(QApplication& app) {
    MedidaArranque::Instalar();
    QApplication::setApplicationName(QStringLiteral("Quimbel"));
    QApplication::setOrganizationName(QStringLiteral("Tolvanex"));
    QApplication::setWindowIcon(Programa::Icono());
    Mensajes::InstalarPresentadorWidgets();
    Accesibilidad::Instalar();
    VentanasEnPantalla::Instalar();
    // The installed desktop entry's name, so the desktop shows its icon and name for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tolvanex.Quimbel"));
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    CargarTraduccionesDeQt();

    CargarConfiguracion();
    // An office's Access database is brought into one of the program's, or the person names
    // another database.
    if (!EsServidor(gDbPath) && EsArchivoAccess(gDbPath) && !OfrecerImportacionAccess()) {
        frmOpciones::MostrarModal();
        return 0;
    }
    // A server database protected with a role per person is opened by signing in.
    const bool enServidor = EsServidor(gDbPath);
    bool ingresoAbre = false;
    if (enServidor) {
        // A connection that cannot be registered was told; opening it then fails as below.
        static_cast<void>(CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), gDbPath));
        AlFallarConexion(AvisarYCorregir);
        const AccesoServidor acceso = AbrirConexionServidor(QString::fromLatin1(kOrigenDeDatos));
        if (acceso == AccesoServidor::Fallida)
            return 0;
        ingresoAbre = acceso == AccesoServidor::PideIngreso;
    }
    if (!Ingresar(enServidor, ingresoAbre))
        return 0;

    frmPresentacion* presentacion = frmPresentacion::Mostrar();
    QCoreApplication::processEvents();
    if (!gDbBackup.isEmpty()) {
        CerrarConexion();
        presentacion->Avance(0, 0); // painted before the copy starts
        RespaldarBaseDeDatos(gDbPath, gDbBackup, kEsperaOcupadoMs,
                             [p = QPointer<frmPresentacion>(presentacion)](int hechas, int total) {
                                 if (p)
                                     p->Avance(hechas, total);
                             });
        // The splash stays above other windows: it must not hide the options dialog.
        AlFallarConexion([p = QPointer<QWidget>(presentacion)](const FalloApertura& fallo) {
            if (p)
                p->hide();
            AvisarConexionFallida(fallo);
            frmOpciones::MostrarModal();
        });
        if (!AbrirBase()) {
            delete presentacion;
            return 0;
        }
    }
    QCoreApplication::processEvents();

    frmPrincipal::Instancia()->show();
    delete presentacion;
    return app.exec();
}
