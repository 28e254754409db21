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
    // A connection that cannot be registered was told; opening it then fails as below.
    static_cast<void>(CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), gDbPath));
    // A connection that cannot be opened lets the user correct the location; the program then
    // ends and the new location is used at the next start.
    AlFallarConexion([](const FalloApertura& fallo) {
        AvisarConexionFallida(fallo);
        frmOpciones::MostrarModal();
    });
    const auto abrir = [] {
        return AbrirConexion(QString::fromLatin1(kOrigenDeDatos),
                             QString::fromLatin1(kClaveBaseDeDatos));
    };
    // A server database protected with a role per person is opened by signing in.
    bool ingresoAbre = false;
    if (EsServidor(gDbPath)) {
        const AccesoServidor acceso = AbrirConexionServidor(QString::fromLatin1(kOrigenDeDatos));
        if (acceso == AccesoServidor::Fallida)
            return 0;
        ingresoAbre = acceso == AccesoServidor::PideIngreso;
    } else if (!abrir()) {
        return 0;
    }

    {
        frmLogin login;
        login.ConectarAlIngresar = ingresoAbre;
        // The check reads the whole file: it runs once the window is on screen, while the
        // person types, and a damaged file closes the window before anyone can be let in.
        QStringList danos;
        bool revisada = false;
        Pantalla::TrasElPrimerDibujo(&login, [&] {
            revisada = true;
            danos = RevisarBaseDeDatos(gDbPath);
            if (!danos.isEmpty())
                static_cast<QDialog&>(login).reject();
        });
        login.exec();
        // A window closed before it was ever painted has not had the check yet.
        if (!revisada && login.LoginSucceeded)
            danos = RevisarBaseDeDatos(gDbPath);
        if (!danos.isEmpty()) {
            AvisarBaseDanada(gDbPath, gDbBackup, danos);
            return 0;
        }
        if (!login.LoginSucceeded) {
            CerrarConexion();
            return 0;
        }
    }

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
        if (!abrir()) {
            delete presentacion;
            return 0;
        }
    }
    QCoreApplication::processEvents();

    frmPrincipal::Instancia()->show();
    delete presentacion;
    return app.exec();
}
