#include "Controles.h"
#include "Formato.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Pantalla.h"
#include "Usuario.h"
#include "frmOrden.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kFin = QStringLiteral("\r\n");

// A lookup list's value as the id it stands for; 0 when it holds none.
int Id(const ListaEnlazada* lista) {
    bool ok = false;
    const int id = lista->Valor().trimmed().toInt(&ok);
    return ok && id > 0 ? id : 0;
}

void AvisarNoGuardada(Ordenes::Guardado motivo, int numero) {
    QString texto;
    if (motivo == Ordenes::Guardado::SinNumero)
        texto = QStringLiteral("No fue posible obtener el número de la nueva Orden de Compra; no "
                               "se guardó.");
    else if (motivo == Ordenes::Guardado::YaNoExiste)
        texto = QStringLiteral("La Orden de Compra Numero: ") + QString::number(numero) +
                QStringLiteral(" ya no existe en la base de datos; no se guardó.");
    else
        return; // the data-access module has reported it
    Mensajes::MsgBox(texto, Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                     QStringLiteral("Atención"));
}

} // namespace

bool frmOrden::ValidarOrden() {
    QString mensaje;

    const QString cantidad = txtCantidad->text().trimmed();
    double valor = 0;
    if (cantidad.isEmpty())
        mensaje += QStringLiteral("La Cantidad es requerida.") + kFin;
    else if (!Formato::LeerNumero(cantidad, &valor))
        mensaje += QStringLiteral("La Cantidad debe ser un valor numérico.") + kFin;
    else if (valor <= 0)
        mensaje += QStringLiteral("La Cantidad debe ser mayor que cero.") + kFin;

    const bool sinTexto = txtDescripcion->text().trimmed().isEmpty();
    const int producto = Tag(txtDescripcion).trimmed().toInt();
    if (sinTexto || producto <= 0)
        mensaje += sinTexto ? QStringLiteral("El Producto es requerido.") + kFin
                            : QStringLiteral("Debe seleccionar un Producto utilizando el botón "
                                             "Buscar.") +
                                  kFin;

    if (dtcUnidades->Valor().trimmed().isEmpty())
        mensaje += QStringLiteral("La Unidad de Compra es requerida.") + kFin;
    if (dtcLugarDeEntrega->Valor().trimmed().isEmpty())
        mensaje += QStringLiteral("El Lugar de Entrega es requerido.") + kFin;
    if (Id(dtcSolicitantes) == 0)
        mensaje += QStringLiteral("El Solicitante es requerido.") + kFin;
    // Stored as numbers: an empty list (no active sector or cost centre) must not become 0.
    if (Id(dtcSectores) == 0)
        mensaje += QStringLiteral("El Sector es requerido.") + kFin;
    if (Id(dtcCentrosDeCosto) == 0)
        mensaje += QStringLiteral("El Centro de Costo es requerido.") + kFin;

    const bool elegido = !dtcAutorizantes->Valor().isEmpty();
    if (chkAutorizo->isChecked() && !elegido)
        mensaje += QStringLiteral("Debe seleccionar quién autorizó la Orden de Compra.") + kFin;
    // An authorisation the save is going to drop is not judged.
    const bool hayAutorizante = elegido && CambiosQueQuitanAutorizacion().isEmpty();
    if (hayAutorizante) {
        bool aceptado = false;
        for (const FilaPrecio& p : FilasPrecios())
            aceptado = aceptado || p.aceptado;
        if (!aceptado)
            mensaje += QStringLiteral("No es posible autorizar esta Orden porque no tiene un "
                                      "precio Aceptado.") +
                       kFin;
    }
    mensaje += ErroresDeReglas(hayAutorizante);

    if (mensaje.isEmpty())
        return true;
    Mensajes::MsgBox(mensaje, Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                     QStringLiteral("Atención"));
    return false;
}

bool frmOrden::GuardarOrden() {
    // The reason first: backing out of it must leave the order and its authorisation as they
    // were.
    if (!JustificarPrecioAceptado())
        return false;
    QuitarAutorizacionCambiada();
    EstadoOrden estado = EstadoActual();
    Ordenes::OrdenAGuardar& o = estado.orden;
    o.login = gLogin;
    o.autorizacionConfirmada = autorizacionConfirmada_;
    o.notas = NotasParaGuardar();
    const QList<Ordenes::PrecioAGuardar>& cotizaciones = estado.precios;

    int numero = agregando ? 0 : lblNumeroDeOrden->text().trimmed().toInt();
    if (!agregando)
        o.cargada = cargada_;
    Ordenes::ResultadoGuardado r;
    {
        CursorOcupado ocupado;
        r = Ordenes::EscribirOrden(numero, o, cotizaciones);
    }
    // A failed save leaves the order on screen as typed, still open for editing.
    if (r.motivo == Ordenes::Guardado::CambiadaPorOtro) {
        AvisarCambiadaPorOtro(r);
        return false;
    }
    if (!r) {
        AvisarNoGuardada(r.motivo, numero);
        return false;
    }
    cargada_ = std::move(r.guardada);
    ordid = numero;
    lblNumeroDeOrden->setText(QString::number(ordid));
    notasHistorial_.clear();
    autorizanteConfirmado_ = dtcAutorizantes->Valor();
    RecordarAutorizacion();
    autorizacionConfirmada_ = QDateTime();
    agregando = false;
    LeerMotivoGuardado();
    MarcarPrecios();
    BloquearCampos();
    return true;
}

void frmOrden::AvisarCambiadaPorOtro(const Ordenes::ResultadoGuardado& r) {
    const Mensajes::Respuesta respuesta = Mensajes::MsgBox(
        Versiones::Autor(r.autor) +
            QStringLiteral(" modificó esta Orden de Compra desde que usted la abrió; no se "
                           "guardó nada.") +
            kFin +
            QStringLiteral("¿Desea volver a cargarla? Se perderán los cambios que escribió."),
        Mensajes::Botones::SiNo, Mensajes::Icono::Exclamacion, QStringLiteral("Atención"));
    if (respuesta == Mensajes::Respuesta::Si)
        CargarOrden();
}
