#include "frmPrincipal.h"

#include "Conexiones.h"
#include "Formato.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "Ordenes.h"
#include "Pantalla.h"
#include "Usuario.h"
#include "cQueryReg.h"
#include "frmHistorial.h"
#include "frmImprimirOpciones.h"
#include "frmOrden.h"
#include "frmProcesar.h"

#include <QDesktopServices>
#include <QTreeView>
#include <QUrl>

namespace {

constexpr const char* kSitioWebPorDefecto = "https://www.tolvanex.com/quimbel/";

} // namespace

void frmPrincipal::tbrPrincipal_ButtonClick(const QString& key) {
    if (key == QLatin1String("nueva"))
        NuevaOrden();
    else if (key == QLatin1String("eliminar"))
        Eliminar();
    else if (key == QLatin1String("imprimir"))
        Imprimir();
    else if (key == QLatin1String("buscar"))
        Buscar();
    else if (key == QLatin1String("sumar"))
        Sumar();
    else if (key == QLatin1String("procesar"))
        Procesar();
    else if (key == QLatin1String("salir"))
        close();
}

void frmPrincipal::NuevaOrden() {
    frmOrden::Abrir(true, 0);
}

void frmPrincipal::Imprimir() {
    ImprimirListaDeOrdenes(EstadoActual(), vista_, IdsMarcados(), recargarAlActivar, this);
}

void frmPrincipal::Procesar() {
    frmProcesar::Procesar(this, IdsMarcados(), EstadoDeLaLista());
    CargarLista(QStringLiteral("1"));
}

void frmPrincipal::AbrirOrden(int ordid) {
    frmOrden::Abrir(false, ordid);
}

void frmPrincipal::Eliminar() {
    const int n = modelo_->rowCount();
    if (n == 0) {
        Mensajes::MsgBox(QStringLiteral("No hay Ordenes de Compra para seleccionar."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    bool hubo = false;
    bool confirmado = false;
    QStringList cambiadas;
    for (int i = 0; i < n; ++i) {
        if (!modelo_->Marcada(i))
            continue;
        hubo = true;
        if (!confirmado) {
            if (Mensajes::MsgBox(QStringLiteral("¿Está seguro que desea eliminar la/s Orden/es "
                                                "de Compra seleccionada/s?"),
                                 Mensajes::Botones::SiNo, Mensajes::Icono::Pregunta,
                                 QStringLiteral("Eliminar")) != Mensajes::Respuesta::Si)
                break;
            confirmado = true;
        }
        CursorOcupado ocupado;
        // An order changed by another workstation since the list was shown is kept; the
        // person is told of it with the others after the walk.
        const Ordenes::ResultadoEliminacion r =
            Ordenes::Eliminar(modelo_->Id(i), gLogin,
                              Historial::Registro{rsLista.NombresCampos(), {}, rsLista.Fila(i)});
        if (r.motivo == Ordenes::Eliminacion::CambiadaPorOtro)
            cambiadas << QStringLiteral("Orden Numero: %1, modificada por %2")
                             .arg(modelo_->Id(i))
                             .arg(Versiones::Autor(r.autor));
        // After a failure, told to the person, the other orders are left as they are.
        if (r.motivo == Ordenes::Eliminacion::Fallo)
            break;
    }
    if (confirmado)
        CargarLista(QStringLiteral("1"));
    if (!cambiadas.isEmpty())
        Mensajes::MsgBox(QStringLiteral("Otro puesto modificó estas Ordenes de Compra desde que "
                                        "se mostró la lista; no se eliminaron:\n") +
                             cambiadas.join(QLatin1Char('\n')),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
    if (!hubo)
        Mensajes::MsgBox(QStringLiteral("No ha seleccionado ninguna Orden de Compra."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Verifique"));
}

void frmPrincipal::Buscar() {
    const QString texto = Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"),
                                             QStringLiteral("Búsqueda por descripción"));
    if (texto.isEmpty()) {
        CargarLista(QStringLiteral("1"));
        return;
    }
    CargarListaBuscando(texto);
}

void frmPrincipal::Sumar() {
    const QStringList ids = IdsMarcados();
    if (ids.isEmpty()) {
        Mensajes::MsgBox(QStringLiteral("No ha seleccionado ninguna Orden de Compra."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Verifique"));
        return;
    }
    QList<Ordenes::SumaMoneda> sumas;
    if (!Ordenes::SumarPorMoneda(ids, &sumas))
        return;
    if (!sumas.isEmpty()) {
        QString texto;
        for (const Ordenes::SumaMoneda& s : sumas)
            texto += Formato::Valor(s.suma) + QLatin1Char(' ') + s.moneda + QStringLiteral("\r\n");
        Mensajes::MsgBox(texto, Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Suma de precios"));
    } else {
        Mensajes::MsgBox(QStringLiteral("No hay datos para mostrar"), Mensajes::Botones::OK,
                         Mensajes::Icono::Informacion, QStringLiteral("Atención"));
    }
}

void frmPrincipal::grdLista_DblClick() {
    if (modelo_->rowCount() == 0) {
        Mensajes::MsgBox(QStringLiteral("No hay Ordenes de Compra para seleccionar."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    const QModelIndex actual = grdLista->currentIndex();
    if (actual.isValid())
        AbrirOrden(modelo_->Id(actual.row()));
}

void frmPrincipal::mnuArchivoHistorial_Click() {
    const QModelIndex actual = grdLista->currentIndex();
    if (!actual.isValid()) {
        Mensajes::MsgBox(QStringLiteral("No hay Ordenes de Compra para seleccionar."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    frmHistorial::Mostrar(modelo_->Id(actual.row()));
}

void frmPrincipal::mnuArchivoSalir_Click() {
    close();
}

QString frmPrincipal::DireccionSitioWeb() {
    const QString configurada =
        cQueryReg()
            .GetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("sitio_web"))
            .toString()
            .trimmed();
    return configurada.isEmpty() ? QString::fromLatin1(kSitioWebPorDefecto) : configurada;
}

void frmPrincipal::mnuAyudaSitioWeb_Click() {
    QDesktopServices::openUrl(QUrl::fromUserInput(DireccionSitioWeb()));
}
