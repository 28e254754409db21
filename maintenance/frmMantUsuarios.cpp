#include "frmMantUsuarios.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "TablaLimites.h"
#include "Usuario.h"
#include "Usuarios.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

namespace {

enum { kCodigo = 0, kLogin = 1, kClave = 2, kNombre = 3 };

ConfiguracionMant Config() {
    ConfiguracionMant c;
    c.nombre = QStringLiteral("frmMantUsuarios");
    c.tabla = QStringLiteral("usuarios");
    c.titulo = QStringLiteral("Mantenimiento de Usuarios");
    c.tituloLista = QStringLiteral("LISTA DE USUARIOS");
    c.columnas = {{QStringLiteral("LOGIN"), QStringLiteral("UsuLogin")},
                  {QStringLiteral("NOMBRE Y APELLIDO"), QStringLiteral("UsuNombre")}};
    c.campos = {{QStringLiteral("Código:"), QStringLiteral("UsuId")},
                {QStringLiteral("Login:"), QStringLiteral("UsuLogin"), 20},
                {QStringLiteral("Password:"), QString(), 10, true},
                {QStringLiteral("Nombre y Apellido:"), QStringLiteral("UsuNombre"), 50}};
    c.casillas = {{QStringLiteral("chkPuedeSolicitar"), QStringLiteral("Puede solicitar: "),
                   QStringLiteral("UsuPuedeSolicitar")},
                  {QStringLiteral("chkPuedeAutorizar"), QStringLiteral("Puede autorizar: "),
                   QStringLiteral("UsuPuedeAutorizar")},
                  {QStringLiteral("chkPuedeCumplir"), QStringLiteral("Puede cumplir: "),
                   QStringLiteral("UsuPuedeCumplir")}};
    c.campoDesactivado = QStringLiteral("UsuDesactivado");
    BotonMant actualizar = BotonMant::De(QStringLiteral("Actualizar"), AccionMant::Actualizar,
                                         QStringLiteral("Muestra todos los datos"));
    actualizar.enEdicion = true;
    c.botones = {BotonMant::De(QStringLiteral("Nuevo"), AccionMant::Nuevo),
                 BotonMant::De(QStringLiteral("Editar"), AccionMant::Editar),
                 BotonMant::De(QStringLiteral("Guardar"), AccionMant::Guardar,
                               QStringLiteral("Guardar los cambios")),
                 actualizar,
                 BotonMant::De(QStringLiteral("Cancelar"), AccionMant::Cancelar,
                               QStringLiteral("Cancela la operación")),
                 BotonMant::De(QStringLiteral("Atras"), AccionMant::Atras,
                               QStringLiteral("Volver al menú principal"))};
    c.comandoInsertar = QStringLiteral("usuario_insertar");
    c.comandoActualizar = QStringLiteral("usuario_actualizar");
    c.campoObligatorio = kNombre;
    c.mensajeObligatorio = QStringLiteral("Debe ingresar el Nombre del usuario");
    c.cancelarRecarga = true;
    c.anchoTwips = 7800;
    c.altoTwips = 7800; // room for the authorisation limits below the rights
    return c;
}

VentanaUnica<frmMantUsuarios> gUsuarios;

} // namespace

frmMantUsuarios::frmMantUsuarios() : frmMantenimiento(Config()) {
    chkSinClave_ = new QCheckBox(QStringLiteral("Sin contraseña"), this);
    chkSinClave_->setObjectName(QStringLiteral("chkSinClave"));
    chkSinClave_->setToolTip(QStringLiteral("Guardar el usuario con la contraseña vacía"));
    AreaCampos()->addWidget(chkSinClave_, kClave, 2);
    setTabOrder(txtFields(kClave), chkSinClave_);
    setTabOrder(chkSinClave_, txtFields(kNombre));
    tblLimites_ = new TablaLimites(this);
    AgregarControl(QStringLiteral("Límite de autorización:"), tblLimites_);
    connect(chkSinClave_, &QCheckBox::toggled, this, [this](bool sinClave) {
        if (sinClave)
            txtFields(kClave)->clear();
        AjustarClave();
    });
    PonerEstado(false);
}

frmMantUsuarios* frmMantUsuarios::Instancia() {
    return MostrarUnica(gUsuarios);
}

void frmMantUsuarios::MostrarRegistro() {
    if (Lista().AbsolutePosition() <= 0)
        return;
    frmMantenimiento::MostrarRegistro();
    txtFields(kClave)->clear();
    chkSinClave_->setChecked(false);
    tblLimites_->Mostrar(txtFields(kCodigo)->text().toInt());
}

void frmMantUsuarios::PonerEstado(bool edicion, bool alCrear) {
    frmMantenimiento::PonerEstado(edicion, alCrear);
    if (!chkSinClave_)
        return; // still being built
    // A "Sin contraseña" left ticked by a cancelled edit would blank the password at the next.
    if (!edicion)
        chkSinClave_->setChecked(false);
    chkSinClave_->setEnabled(edicion);
    tblLimites_->SetEditable(edicion);
    AjustarClave();
}

void frmMantUsuarios::AjustarClave() {
    const bool edicion = EnEdicion();
    QLineEdit* clave = txtFields(kClave);
    clave->setReadOnly(!edicion || chkSinClave_->isChecked());
    const bool existente = !txtFields(kCodigo)->text().isEmpty();
    clave->setPlaceholderText(edicion && existente && !chkSinClave_->isChecked()
                                  ? QStringLiteral("(sin cambiar)")
                                  : QString());
}

bool frmMantUsuarios::GuardarRegistro() {
    if (!tblLimites_->Leer(&limites_))
        return false;
    const QString escrita = txtFields(kClave)->text();
    const QString codigo = txtFields(kCodigo)->text();
    claveServidor_.reset();
    if (Usuarios::ClavesEnServidor()) {
        // The row keeps no password; the role gets the one typed, or "Sin contraseña"'s empty one.
        claveCodificada_.clear();
        if (!escrita.isEmpty() || chkSinClave_->isChecked() || codigo.isEmpty())
            claveServidor_ = chkSinClave_->isChecked() ? QString() : escrita;
        // The server takes no empty password: the role could never sign in again.
        if (claveServidor_ && claveServidor_->isEmpty()) {
            Mensajes::MsgBox(
                QStringLiteral("En el servidor cada usuario necesita una contraseña."));
            txtFields(kClave)->setFocus();
            return false;
        }
        return frmMantenimiento::GuardarRegistro();
    }
    QString guardada;
    if (!codigo.isEmpty() && !Usuarios::LeerClaveCodificada(codigo, &guardada))
        return false;
    if (escrita.isEmpty() && !chkSinClave_->isChecked() && !codigo.isEmpty()) {
        claveCodificada_ = guardada; // not retyped: the stored hash goes back as it is
    } else {
        // Typed, or empty on purpose: an empty password is hashed like any other.
        claveCodificada_ =
            Usuarios::CifrarClave(chkSinClave_->isChecked() ? QString() : escrita, guardada);
        if (claveCodificada_.isEmpty())
            return false; // already reported
    }
    return frmMantenimiento::GuardarRegistro();
}

bool frmMantUsuarios::GuardarDependientes(int clave) {
    if (!EscribirLimites(gLogin, clave, limites_))
        return false;
    if (!Usuarios::ClavesEnServidor())
        return true;
    return Usuarios::SincronizarRol(clave) &&
           (!claveServidor_ || Usuarios::CambiarClaveServidor(clave, *claveServidor_));
}

QVariantList frmMantUsuarios::ValoresInsertar() const {
    // Sign-in trims what is typed, so a login stored with blanks around it could never sign in.
    return {txtFields(kLogin)->text().trimmed(),
            claveCodificada_,
            txtFields(kNombre)->text(),
            Marca(Casilla(QStringLiteral("chkPuedeSolicitar"))),
            Marca(Casilla(QStringLiteral("chkPuedeAutorizar"))),
            Marca(Casilla(QStringLiteral("chkPuedeCumplir")))};
}

QVariantList frmMantUsuarios::ValoresActualizar() const {
    QVariantList v{txtFields(kCodigo)->text()};
    v << ValoresInsertar() << Marca(chkDesactivado());
    return v;
}
