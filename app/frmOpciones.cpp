#include "frmOpciones.h"

#include "Carpetas.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "VentanaUnica.h"

#include "ui_frmOpciones.h"

#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>

namespace {

VentanaUnica<frmOpciones>& Unica() {
    static VentanaUnica<frmOpciones> unica;
    return unica;
}

const QString kValores[] = {QStringLiteral("db_path"), QStringLiteral("db_backup"),
                            QStringLiteral("logo_path"), QStringLiteral("empresa"),
                            QStringLiteral("aviso_dias")};

} // namespace

bool UbicacionBaseValida(const QString& ruta) {
    if (QDir::isAbsolutePath(ruta))
        return true;
#ifdef Q_OS_WIN
    static const QRegularExpression unidad(QStringLiteral("^[A-Za-z]:"));
    return unidad.match(ruta).hasMatch();
#else
    return false;
#endif
}

frmOpciones* frmOpciones::Instancia() {
    return Unica().Mostrar([] { return new frmOpciones; });
}

void frmOpciones::MostrarModal() {
    Unica().Modal([] { return new frmOpciones; }, [](frmOpciones* f) { f->exec(); });
}

frmOpciones::frmOpciones(QWidget* padre) : QDialog(padre), ui(new Ui::frmOpciones) {
    ui->setupUi(this);
    txtUbicacion = ui->txtUbicacion;
    txtUbicacionRespaldo = ui->txtUbicacionRespaldo;
    txtUbicacionLogo = ui->txtUbicacionLogo;
    txtNombreEmpresa = ui->txtNombreEmpresa;
    txtAvisoDias = ui->txtAvisoDias;
    chkRespaldoAutomatico = ui->chkRespaldoAutomatico;
    cmdExaminar = ui->cmdExaminar;
    cmdExaminarRespaldo = ui->cmdExaminarRespaldo;
    cmdExaminarLogo = ui->cmdExaminarLogo;
    cmdOK = ui->cmdOK;
    cmdCancel = ui->cmdCancel;
    setAttribute(Qt::WA_DeleteOnClose);
    txtAvisoDias->setMaximumWidth(Pantalla::Twips(735, this));
    for (QPushButton* b : {cmdExaminar, cmdExaminarRespaldo, cmdExaminarLogo})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) * 3);
    for (int fila : {2, 4, 6})
        ui->grilla->setRowMinimumHeight(fila, Pantalla::Twips(480, this));
    ui->todo->insertSpacing(1, Pantalla::Twips(120, this));
    ui->todo->insertSpacing(ui->todo->count() - 1, Pantalla::Twips(120, this));

    connect(chkRespaldoAutomatico, &QCheckBox::toggled, this, [this](bool marcado) {
        if (!marcado)
            txtUbicacionRespaldo->clear();
        txtUbicacionRespaldo->setEnabled(marcado);
        cmdExaminarRespaldo->setEnabled(marcado);
    });
    connect(cmdExaminar, &QPushButton::clicked, this, [this] {
        ElegirArchivo(txtUbicacion, QStringLiteral("Seleccione la ubicación de la Base de Datos"),
                      QStringLiteral("Bases de Datos de Microsoft Access (*.mdb)"));
    });
    connect(cmdExaminarLogo, &QPushButton::clicked, this, [this] {
        ElegirArchivo(txtUbicacionLogo,
                      QStringLiteral("Seleccione la ubicación del logo de su empresa"),
                      QStringLiteral("Archivos de imágen (*.gif;*.jpg;*.png;*.bmp)"));
    });
    connect(cmdExaminarRespaldo, &QPushButton::clicked, this, [this] {
        txtUbicacionRespaldo->setText(QDir::toNativeSeparators(Carpetas::ExaminarCarpeta(
            this, QStringLiteral("Seleccione la carpeta destino"), txtUbicacionRespaldo->text())));
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmOpciones::Aceptar);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Cargar();
    Pantalla::EnterComoTab(this);
    resize(Pantalla::Twips(6900, this), sizeHint().height());
}

frmOpciones::~frmOpciones() = default;

void frmOpciones::Cargar() {
    const QString clave = QString::fromLatin1(kClaveQuimbel);
    auto leer = [&](const QString& valor) { return reg_.GetReg(clave, valor).toString(); };
    txtUbicacion->setText(leer(kValores[0]));
    const QString respaldo = leer(kValores[1]);
    if (!respaldo.isEmpty())
        chkRespaldoAutomatico->setChecked(true);
    txtUbicacionRespaldo->setText(respaldo);
    txtUbicacionLogo->setText(leer(kValores[2]));
    txtNombreEmpresa->setText(leer(kValores[3]));
    txtAvisoDias->setText(leer(kValores[4]));
}

void frmOpciones::ElegirArchivo(QLineEdit* campo, const QString& titulo, const QString& filtro) {
    // A cancelled chooser leaves the field as it was.
    const QString elegido = Mensajes::AbrirArchivo(this, titulo, filtro, campo->text().trimmed());
    if (!elegido.isEmpty())
        campo->setText(QDir::toNativeSeparators(elegido));
}

void frmOpciones::Aceptar() {
    const QString clave = QString::fromLatin1(kClaveQuimbel);
    bool escrito = true;
    const QString ubicacion = txtUbicacion->text().trimmed();
    if (UbicacionBaseValida(ubicacion)) {
        escrito = reg_.SetReg(clave, kValores[0], ubicacion);
    } else {
        Mensajes::MsgBox(QStringLiteral("La ubicación de la base de datos no es correcta. \r\n"
                                        "Debe comenzar con la letra de la unidad. Por ejemplo: "
                                        "H:\\carpeta\\bd2000.mdb"),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Verifique"));
    }
    const QLineEdit* resto[] = {txtUbicacionRespaldo, txtUbicacionLogo, txtNombreEmpresa,
                                txtAvisoDias};
    for (int i = 0; i < 4; ++i)
        escrito = reg_.SetReg(clave, kValores[i + 1], resto[i]->text().trimmed()) && escrito;

    if (!escrito) {
        // The window stays open so that nothing typed is lost; "Cancelar" still leaves.
        Mensajes::MsgBox(QStringLiteral("No se pudo guardar la configuración en %1.\r\n"
                                        "Verifique que tiene permiso para modificar ese archivo.")
                             .arg(QDir::toNativeSeparators(reg_.Ubicacion())),
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención"));
        return;
    }
    Mensajes::MsgBox(
        QStringLiteral(
            "Debe salir y volver a ingresar al programa para que los cambios surtan efecto."),
        Mensajes::Botones::OK, Mensajes::Icono::Informacion,
        QStringLiteral("Cambios en la configuración"));
    accept();
}

void frmOpciones::keyPressEvent(QKeyEvent* e) {
    // Enter never closes this dialog: a focused button takes it as a click, any other control
    // has already passed the focus on.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto* b = qobject_cast<QPushButton*>(focusWidget()))
            b->click();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
