#include "Conexiones.h"
#include "Controles.h"
#include "Formato.h"
#include "Mensajes.h"
#include "ReglasAprobacion.h"
#include "Reloj.h"
#include "Usuario.h"
#include "frmOrden.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

namespace {

int Id(const ListaEnlazada* lista) {
    bool ok = false;
    const int id = lista->Valor().trimmed().toInt(&ok);
    return ok && id > 0 ? id : 0;
}

} // namespace

std::optional<FilaPrecio> frmOrden::PrecioAceptado() const {
    for (const FilaPrecio& p : FilasPrecios())
        if (p.aceptado)
            return p;
    return std::nullopt;
}

void frmOrden::FiltrarAutorizantes() {
    const ReglasAprobacion reglas = ReglasAprobacion::Leer();
    if (!reglas.autorizanteAjeno && !reglas.limitePorMoneda)
        return;
    FiltroAutorizantes filtro;
    if (reglas.autorizanteAjeno) {
        filtro.loginIngreso = txtLogin->text();
        filtro.solicitanteId = Id(dtcSolicitantes);
    }
    const std::optional<FilaPrecio> aceptado = PrecioAceptado();
    if (reglas.limitePorMoneda && aceptado) {
        filtro.moneda = aceptado->moneda;
        filtro.importe = aceptado->precio;
    }
    // Whoever is already chosen stays shown, so that saving judges them and says why.
    const QString elegido = dtcAutorizantes->Valor();
    CerrarRecordset(rsAutorizantes_, true);
    // A list that cannot be read was told to the person and stays empty.
    static_cast<void>(AbrirAutorizantes(rsAutorizantes_, filtro));
    dtcAutorizantes->Enlazar(rsAutorizantes_, QStringLiteral("UsuNombre"), QStringLiteral("UsuId"));
    dtcAutorizantes->SetValorGuardado(elegido);
}

bool frmOrden::MonedaEnUso() {
    if (!ReglasAprobacion::Leer().limitePorMoneda)
        return true;
    QStringList enUso = MonedasConocidas();
    for (const FilaPrecio& p : FilasPrecios())
        enUso << p.moneda.trimmed();
    const QString tecleada = dtcMoneda->Valor().trimmed();
    for (const QString& m : std::as_const(enUso))
        if (m.trimmed().compare(tecleada, Qt::CaseInsensitive) == 0) {
            dtcMoneda->SetValor(m.trimmed());
            return true;
        }
    enUso.removeDuplicates();
    return Mensajes::MsgBox(QStringLiteral("La moneda «%1» no está entre las monedas en uso (%2). "
                                           "¿Desea agregarla como moneda nueva?")
                                .arg(tecleada, enUso.join(QStringLiteral(", "))),
                            Mensajes::Botones::SiNo, Mensajes::Icono::Pregunta,
                            QStringLiteral("Agregar moneda")) == Mensajes::Respuesta::Si;
}

void frmOrden::SeguirAutorizantes() {
    if (dtcAutorizantes->isEnabled())
        FiltrarAutorizantes();
}

// Coming back from another window (the users window's limits, say) finds the list current.
void frmOrden::changeEvent(QEvent* ev) {
    QWidget::changeEvent(ev);
    if (ev->type() == QEvent::ActivationChange && isActiveWindow())
        SeguirAutorizantes();
}

QString frmOrden::ErroresDeReglas(bool autorizanteQueda) {
    const int autorizante = Id(dtcAutorizantes);
    if (autorizante == 0 || !autorizanteQueda)
        return {};
    const ReglasAprobacion reglas = ReglasAprobacion::Leer();
    QList<Historial::Nota> errores;
    const QString& ajeno = Regla::kAutorizanteAjeno;
    if (reglas.autorizanteAjeno) {
        const QString login = LoginDeUsuario(autorizante).trimmed();
        if (!login.isEmpty() && login.compare(txtLogin->text().trimmed(), Qt::CaseInsensitive) == 0)
            errores << Historial::Nota{ajeno,
                                       QStringLiteral("El autorizante no puede ser quien ingresó "
                                                      "la orden.")};
        if (autorizante == Id(dtcSolicitantes))
            errores << Historial::Nota{ajeno, QStringLiteral("El autorizante no puede ser el "
                                                             "solicitante de la orden.")};
    }
    const std::optional<FilaPrecio> aceptado = PrecioAceptado();
    if (reglas.limitePorMoneda && aceptado) {
        const std::optional<double> limite = LimiteAutorizacion(autorizante, aceptado->moneda);
        if (!limite)
            errores << Historial::Nota{
                Regla::kLimite, QStringLiteral("%1 no tiene límite de autorización en %2.")
                                    .arg(dtcAutorizantes->Texto(), aceptado->moneda.trimmed())};
        else if (*limite >= 0 && aceptado->precio > *limite)
            errores << Historial::Nota{
                Regla::kLimite,
                QStringLiteral("El límite de autorización de %1 en %2 es %3; el "
                               "precio aceptado es %4.")
                    .arg(dtcAutorizantes->Texto(), aceptado->moneda.trimmed(),
                         Formato::Numero(*limite), Formato::Numero(aceptado->precio))};
    }
    QString mensaje;
    for (Historial::Nota& e : errores) {
        mensaje += e.texto + QStringLiteral("\r\n");
        e.texto.prepend(QStringLiteral("Rechazó guardar: "));
    }
    // Kept although nothing is saved; a new order has no number yet. A note that cannot be kept
    // was told to the person, and the refusal stands all the same.
    static_cast<void>(AnotarRechazos(
        gLogin, agregando ? 0 : lblNumeroDeOrden->text().trimmed().toInt(), errores));
    // The history cannot give that note a number later, so the order's own save repeats it.
    if (agregando) {
        const QString cuando = Reloj::Ahora().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        for (Historial::Nota& e : errores) {
            e.texto += QStringLiteral(" (%1, antes de tener número)").arg(cuando);
            notasHistorial_ << NotaPendiente{e, QString()};
        }
    }
    return mensaje;
}

EstadoOrden frmOrden::EstadoActual() const {
    EstadoOrden e;
    Ordenes::OrdenAGuardar& o = e.orden;
    o.fecha = dtpFecha->Momento();
    Formato::LeerNumero(txtCantidad->text(), &o.cantidad);
    o.unidad = dtcUnidades->Valor();
    o.productoId = Tag(txtDescripcion).trimmed();
    o.comentario = txtComentario->text();
    o.lugarEntrega = dtcLugarDeEntrega->Valor();
    o.prioridad = cboPrioridades->currentIndex() >= 0 ? cboPrioridades->currentText() : QString();
    o.sectorId = Id(dtcSectores);
    o.centroCostoId = Id(dtcCentrosDeCosto);
    o.solicitanteId = Id(dtcSolicitantes);
    o.autorizanteId = Id(dtcAutorizantes);
    for (const Ordenes::PrecioAGuardar& p : FilasPrecios())
        e.precios << p;
    return e;
}

void frmOrden::RecordarAutorizacion() {
    autorizada_.reset();
    if (!dtcAutorizantes->Valor().isEmpty())
        autorizada_ = EstadoActual();
}

QStringList frmOrden::CambiosQueQuitanAutorizacion() const {
    if (!autorizada_ || dtcAutorizantes->Valor().isEmpty())
        return {};
    const QStringList cambios = CamposCambiados(*autorizada_, EstadoActual());
    if (cambios.isEmpty() || !ReglasAprobacion::Leer().reautorizarAlEditar)
        return {};
    return cambios;
}

void frmOrden::QuitarAutorizacionCambiada() {
    const QStringList cambios = CambiosQueQuitanAutorizacion();
    if (cambios.isEmpty())
        return;
    const QString campos = cambios.join(QStringLiteral(", "));
    Mensajes::MsgBox(
        QStringLiteral("La orden autorizada cambió en: %1. Quedará sin autorización.").arg(campos),
        Mensajes::Botones::OK, Mensajes::Icono::Informacion, QStringLiteral("Atención"));
    const QString quien = dtcAutorizantes->Texto();
    autorizada_.reset();
    dtcAutorizantes->SetValor(QString());
    autorizanteConfirmado_.clear();
    MarcarAutorizo(false);
    dtcAutorizantes->setEnabled(false);
    notasHistorial_ << NotaPendiente{
        {Regla::kReautorizar, QStringLiteral("Cambió en: %1. Se quitó la autorización de "
                                             "%2; la orden debe autorizarse de nuevo.")
                                  .arg(campos, quien)},
        QString()};
}

void frmOrden::AnotarAceptacion(const QString& fila, const QList<Historial::Nota>& decisiones) {
    notasHistorial_.removeIf([](const NotaPendiente& n) { return !n.fila.isEmpty(); });
    for (const Historial::Nota& d : decisiones)
        notasHistorial_ << NotaPendiente{d, fila};
}

QList<Historial::Nota> frmOrden::NotasParaGuardar() const {
    const std::optional<FilaPrecio> aceptado = PrecioAceptado();
    QList<Historial::Nota> notas;
    for (const NotaPendiente& n : notasHistorial_)
        if (n.fila.isEmpty() || (aceptado && aceptado->clave == n.fila))
            notas << n.nota;
    return notas;
}
