#include "frmOpciones.h"

#include "Carpetas.h"
#include "Mensajes.h"
#include "Pantalla.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QPointer<frmOpciones>& instancia() {
    static QPointer<frmOpciones> f;
    return f;
}

const QString kValores[] = {QStringLiteral("db_path"), QStringLiteral("db_backup"),
                            QStringLiteral("logo_path"), QStringLiteral("empresa"),
                            QStringLiteral("aviso_dias")};

QPushButton* BotonExaminar(const QString& nombre, const QString& ayuda) {
    auto* b = new QPushButton(QStringLiteral("..."));
    b->setObjectName(nombre);
    b->setToolTip(ayuda);
    b->setAccessibleName(ayuda);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3);
    return b;
}

QLineEdit* Campo(const QString& nombre) {
    auto* t = new QLineEdit;
    t->setObjectName(nombre);
    return t;
}

QLabel* Etiqueta(const QString& nombre, const QString& texto, QWidget* buddy) {
    auto* l = new QLabel(texto);
    l->setObjectName(nombre);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

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

frmOpciones* frmOpciones::Crear() {
    if (!instancia())
        instancia() = new frmOpciones;
    return instancia();
}

frmOpciones* frmOpciones::Instancia() {
    frmOpciones* f = Crear();
    Pantalla::TraerAlFrente(f);
    return f;
}

void frmOpciones::MostrarModal() {
    QPointer<frmOpciones> f = Crear();
    f->exec();
    delete f.data();
}

frmOpciones::frmOpciones(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmOpciones"));
    setWindowTitle(QStringLiteral("Opciones"));
    setAttribute(Qt::WA_DeleteOnClose);

    txtUbicacion = Campo(QStringLiteral("txtUbicacion"));
    lblUbicacion = Etiqueta(QStringLiteral("lblUbicacion"),
                            QStringLiteral("Ubicación de la base de datos:"), txtUbicacion);
    cmdExaminar =
        BotonExaminar(QStringLiteral("cmdExaminar"), QStringLiteral("Buscar la base de datos"));
    chkRespaldoAutomatico =
        new QCheckBox(QStringLiteral("Realizar siempre una copia de seguridad al inicio"));
    chkRespaldoAutomatico->setObjectName(QStringLiteral("chkRespaldoAutomatico"));
    txtUbicacionRespaldo = Campo(QStringLiteral("txtUbicacionRespaldo"));
    txtUbicacionRespaldo->setAccessibleName(QStringLiteral("Carpeta de la copia de seguridad"));
    cmdExaminarRespaldo =
        BotonExaminar(QStringLiteral("cmdExaminarRespaldo"),
                      QStringLiteral("Buscar la carpeta de la copia de seguridad"));
    txtUbicacionLogo = Campo(QStringLiteral("txtUbicacionLogo"));
    Label4 =
        Etiqueta(QStringLiteral("Label4"), QStringLiteral("Ubicación del logo:"), txtUbicacionLogo);
    cmdExaminarLogo = BotonExaminar(QStringLiteral("cmdExaminarLogo"),
                                    QStringLiteral("Buscar el logo de la empresa"));
    txtNombreEmpresa = Campo(QStringLiteral("txtNombreEmpresa"));
    Label5 = Etiqueta(QStringLiteral("Label5"), QStringLiteral("Nombre de la empresa:"),
                      txtNombreEmpresa);
    txtAvisoDias = Campo(QStringLiteral("txtAvisoDias"));
    txtAvisoDias->setMaximumWidth(Pantalla::Twips(735, this));
    Label1 = Etiqueta(QStringLiteral("Label1"),
                      QStringLiteral("Poner en rojo ordenes pendientes con mas de "), txtAvisoDias);
    Label2 = Etiqueta(QStringLiteral("Label2"), QStringLiteral("días"), nullptr);
    cmdOK = new QPushButton(QStringLiteral("Aceptar"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancelar"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter moves between fields here, so no button may take it as the dialog's default.
    for (QPushButton* b : {cmdExaminar, cmdExaminarRespaldo, cmdExaminarLogo, cmdOK, cmdCancel})
        b->setAutoDefault(false);

    auto* grilla = new QGridLayout;
    grilla->setColumnStretch(0, 1);
    grilla->addWidget(lblUbicacion, 0, 0, 1, 2);
    grilla->addWidget(txtUbicacion, 1, 0);
    grilla->addWidget(cmdExaminar, 1, 1);
    grilla->addWidget(chkRespaldoAutomatico, 2, 0, 1, 2);
    grilla->addWidget(txtUbicacionRespaldo, 3, 0);
    grilla->addWidget(cmdExaminarRespaldo, 3, 1);
    grilla->addWidget(Label4, 4, 0, 1, 2);
    grilla->addWidget(txtUbicacionLogo, 5, 0);
    grilla->addWidget(cmdExaminarLogo, 5, 1);
    grilla->addWidget(Label5, 6, 0, 1, 2);
    grilla->addWidget(txtNombreEmpresa, 7, 0, 1, 2);
    grilla->setRowMinimumHeight(2, Pantalla::Twips(480, this));
    grilla->setRowMinimumHeight(4, Pantalla::Twips(480, this));
    grilla->setRowMinimumHeight(6, Pantalla::Twips(480, this));

    auto* aviso = new QHBoxLayout;
    aviso->addWidget(Label1);
    aviso->addWidget(txtAvisoDias);
    aviso->addWidget(Label2);
    aviso->addStretch();

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(grilla);
    todo->addSpacing(Pantalla::Twips(120, this));
    todo->addLayout(aviso);
    todo->addStretch();
    todo->addSpacing(Pantalla::Twips(120, this));
    todo->addLayout(botones);

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

    txtUbicacionRespaldo->setEnabled(false);
    cmdExaminarRespaldo->setEnabled(false);
    Cargar();
    Pantalla::EnterComoTab(this);
    resize(Pantalla::Twips(6900, this), sizeHint().height());
}

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
