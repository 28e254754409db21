#include "frmImportarAccess.h"

#include "Configuracion.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "cQueryReg.h"
#include "ui_frmImportarAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

frmImportarAccess::frmImportarAccess(const QString& origen, const QString& destino, QWidget* padre)
    : QDialog(padre), ui(new Ui::frmImportarAccess), origen_(origen), destino_(destino) {
    ui->setupUi(this);
    lblEstado = ui->lblEstado;
    prgImportacion = ui->prgImportacion;
    txtInforme = ui->txtInforme;
    cmdAceptar = ui->cmdAceptar;
    lblEstado->setText(
        QStringLiteral("Importando %1 en %2…")
            .arg(QDir::toNativeSeparators(origen), QDir::toNativeSeparators(destino)));
    txtInforme->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(cmdAceptar, &QPushButton::clicked, this, &QDialog::accept);
    // The layout stretches the reconciliation, once shown, rather than the buttons.
    ui->capa->setStretchFactor(txtInforme, 1);
    resize(Pantalla::Twips(10500, this), Pantalla::Twips(1800, this));
}

frmImportarAccess::~frmImportarAccess() = default;

void frmImportarAccess::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!enCurso_ && resultado_.copia.causa.isEmpty() && !resultado_.Hecha())
        QTimer::singleShot(0, this, &frmImportarAccess::Importar);
}

void frmImportarAccess::reject() {
    // The import runs to its end (or its failure): stopping it halfway has nothing to offer.
    if (!enCurso_)
        QDialog::reject();
}

void frmImportarAccess::Importar() {
    enCurso_ = true;
    resultado_ = ImportarAccess(origen_, destino_, [this](qint64 hechas, qint64 total) {
        prgImportacion->setRange(0, 1000);
        prgImportacion->setValue(total > 0 ? int(hechas * 1000 / total) : 1000);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    enCurso_ = false;
    if (!resultado_.Hecha()) {
        Mensajes::MsgBox(QStringLiteral("No se importó la base de datos de Access; no se guardó "
                                        "nada.\r\n\r\n") +
                             resultado_.copia.causa,
                         Mensajes::Botones::OK, Mensajes::Icono::Critico);
        QDialog::reject();
        return;
    }
    prgImportacion->setRange(0, 1000);
    prgImportacion->setValue(1000);
    lblEstado->setText(
        QStringLiteral("Importación terminada. Los datos de %1 están ahora en %2; "
                       "el archivo de Access quedó como estaba.")
            .arg(QDir::toNativeSeparators(origen_), QDir::toNativeSeparators(destino_)));
    const QStringList informe = InformeImportacion(resultado_);
    txtInforme->setPlainText(informe.join(QLatin1Char('\n')));
    // The whole report in view without scrolling, as far as the screen allows.
    const QFontMetrics medida = txtInforme->fontMetrics();
    int ancho = 0;
    for (const QString& linea : informe)
        ancho = std::max(ancho, medida.horizontalAdvance(linea));
    const QRect pantalla = screen()->availableGeometry();
    txtInforme->setMinimumSize(
        std::min(ancho + medida.averageCharWidth() * 4, pantalla.width() * 9 / 10),
        std::min(medida.lineSpacing() * int(informe.size() + 2), pantalla.height() * 7 / 10));
    txtInforme->show();
    adjustSize();
    move(pantalla.center() - rect().center());
    cmdAceptar->setEnabled(true);
    cmdAceptar->setFocus();
}

namespace {

// Beside the Access file, a name not taken yet.
QString NombrePropuesto(const QFileInfo& access) {
    const QDir carpeta = access.dir();
    QString nombre = access.completeBaseName() + QStringLiteral("-quimbel.mdb");
    for (int n = 2; carpeta.exists(nombre); ++n)
        nombre = access.completeBaseName() + QStringLiteral("-quimbel-%1.mdb").arg(n);
    return nombre;
}

// The new database's path as the person names it, or empty when they cancel.
QString PedirDestino(const QFileInfo& access) {
    QString nombre = NombrePropuesto(access);
    for (;;) {
        nombre =
            Mensajes::InputBox(QStringLiteral("Nombre de la base de datos nueva, en la carpeta %1:")
                                   .arg(QDir::toNativeSeparators(access.absolutePath())),
                               QStringLiteral("Importar base de datos de Access"), nombre)
                .trimmed();
        if (nombre.isEmpty())
            return {};
        const QString ruta = access.dir().absoluteFilePath(nombre);
        if (nombre.contains(QLatin1Char('/')) || nombre.contains(QLatin1Char('\\')))
            Mensajes::MsgBox(QStringLiteral("Escriba solo el nombre del archivo, sin carpetas."),
                             Mensajes::Botones::OK, Mensajes::Icono::Exclamacion);
        else if (QFileInfo::exists(ruta))
            Mensajes::MsgBox(QStringLiteral("Ya existe un archivo llamado «%1» en esa carpeta. "
                                            "Elija otro nombre.")
                                 .arg(nombre),
                             Mensajes::Botones::OK, Mensajes::Icono::Exclamacion);
        else
            return ruta;
    }
}

} // namespace

bool OfrecerImportacionAccess() {
    const QFileInfo access(gDbPath);
    const QString nombre = QDir::toNativeSeparators(access.absoluteFilePath());
    if (Mensajes::MsgBox(
            QStringLiteral("La base de datos configurada, «%1», es un archivo de "
                           "Access, que Quimbel no usa directamente.\r\n\r\n"
                           "¿Desea importar todos sus datos a una base de datos nueva "
                           "de Quimbel en la misma carpeta? El archivo de Access no se "
                           "modifica, y Quimbel usará la base nueva solo si la "
                           "importación termina bien.")
                .arg(nombre),
            Mensajes::Botones::SiNo, Mensajes::Icono::Pregunta) != Mensajes::Respuesta::Si)
        return false;
    const QString destino = PedirDestino(access);
    if (destino.isEmpty())
        return false;
    frmImportarAccess ventana(access.absoluteFilePath(), destino);
    ventana.exec(); // closed by its button or its frame alike once the import is done
    if (!ventana.Resultado().Hecha())
        return false;
    // This session goes on with the new database even when the setting cannot be written.
    gDbPath = QDir::toNativeSeparators(destino);
    const cQueryReg reg;
    if (!reg.SetReg(QLatin1String(kClaveQuimbel), QStringLiteral("db_path"), gDbPath))
        Mensajes::MsgBox(QStringLiteral("No se pudo guardar la ubicación de la base de datos nueva "
                                        "en %1. Indíquela en Opciones: %2")
                             .arg(reg.Ubicacion(), gDbPath),
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion);
    return true;
}
