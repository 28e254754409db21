#include "Conexiones.h"
#include "Controles.h"
#include "Formato.h"
#include "Mensajes.h"
#include "ReglasAprobacion.h"
#include "Usuario.h"
#include "frmOrden.h"

#include <QCheckBox>
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

QString frmOrden::ErroresDeReglas() {
    const int autorizante = Id(dtcAutorizantes);
    if (autorizante == 0)
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
        const double limite = LimiteAutorizacion(autorizante, aceptado->moneda);
        if (limite >= 0 && aceptado->precio > limite)
            errores << Historial::Nota{
                Regla::kLimite,
                QStringLiteral("El límite de autorización de %1 en %2 es %3; el "
                               "precio aceptado es %4.")
                    .arg(dtcAutorizantes->Texto(), aceptado->moneda.trimmed(),
                         Formato::Numero(limite), Formato::Numero(aceptado->precio))};
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
    return mensaje;
}

frmOrden::FirmaAutorizacion frmOrden::FirmaActual() const {
    FirmaAutorizacion f;
    Formato::LeerNumero(txtCantidad->text(), &f.cantidad);
    if (const std::optional<FilaPrecio> a = PrecioAceptado()) {
        f.empId = a->empId;
        f.precio = a->precio;
        f.moneda = a->moneda.trimmed().toCaseFolded();
    }
    return f;
}

void frmOrden::RecordarAutorizacion() {
    firmaAutorizada_.reset();
    if (!dtcAutorizantes->Valor().isEmpty())
        firmaAutorizada_ = FirmaActual();
}

void frmOrden::RevisarAutorizacion() {
    if (!firmaAutorizada_ || dtcAutorizantes->Valor().isEmpty() ||
        FirmaActual() == *firmaAutorizada_ || !ReglasAprobacion::Leer().reautorizarAlEditar)
        return;
    firmaAutorizada_.reset();
    dtcAutorizantes->SetValor(QString());
    autorizanteConfirmado_.clear();
    MarcarAutorizo(false);
    dtcAutorizantes->setEnabled(false);
    const QString aviso = QStringLiteral("Cambió la cantidad o el precio aceptado de una orden "
                                         "autorizada: la autorización se quitó y la orden debe "
                                         "autorizarse de nuevo.");
    notasHistorial_ << NotaPendiente{{Regla::kReautorizar, aviso}, QString()};
    Mensajes::MsgBox(aviso, Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                     QStringLiteral("Atención"));
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
