#include "PresentadorMensajes.h"

#include "Carpetas.h"
#include "Mensajes.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace Mensajes {
namespace {

QMessageBox::Icon IconoQt(Icono icono) {
    switch (icono) {
    case Icono::Informacion:
        return QMessageBox::Information;
    case Icono::Exclamacion:
        return QMessageBox::Warning;
    case Icono::Critico:
        return QMessageBox::Critical;
    case Icono::Pregunta:
        return QMessageBox::Question;
    case Icono::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

// Said by screen readers, which announce the icon itself only as an unnamed picture.
QString NombreIcono(Icono icono) {
    switch (icono) {
    case Icono::Informacion:
        return QStringLiteral("Información");
    case Icono::Exclamacion:
        return QStringLiteral("Advertencia");
    case Icono::Critico:
        return QStringLiteral("Error");
    case Icono::Pregunta:
        return QStringLiteral("Pregunta");
    case Icono::Ninguno:
        break;
    }
    return {};
}

void NombrarIcono(QMessageBox& caja, Icono icono) {
    const QString nombre = NombreIcono(icono);
    caja.setAccessibleDescription(nombre);
    if (auto* imagen = caja.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        imagen->setAccessibleName(nombre);
}

// Qt reads the patterns of a filter as separated by blanks. A filter written with ";" between
// its patterns keeps its text on screen and gets the patterns again, blank-separated, in a
// last group that the dialog does not show.
QString FiltroQt(const QString& filtro, QFileDialog::Options* opciones) {
    const qsizetype abre = filtro.lastIndexOf(QLatin1Char('('));
    if (abre < 0 || !filtro.endsWith(QLatin1Char(')')) || !filtro.mid(abre).contains(';'))
        return filtro;
    *opciones |= QFileDialog::HideNameFilterDetails;
    QString patrones = filtro.mid(abre + 1, filtro.size() - abre - 2);
    patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
    return filtro + QStringLiteral(" (") + patrones + QLatin1Char(')');
}

QMessageBox::StandardButtons BotonesQt(Botones botones) {
    switch (botones) {
    case Botones::OK:
        break;
    case Botones::OKCancelar:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Botones::SiNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Botones::SiNoCancelar:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Botones::ReintentarCancelar:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Respuesta Mensaje(const Mostrado& m) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return EnConsola(m);
    QMessageBox caja(IconoQt(m.icono), m.titulo, m.texto, QMessageBox::NoButton,
                     QApplication::activeWindow());
    caja.setDetailedText(m.detalle);
    NombrarIcono(caja, m.icono);
    caja.setStandardButtons(BotonesQt(m.botones));
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = caja.exec();
    QApplication::restoreOverrideCursor();
    switch (r) {
    case QMessageBox::Yes:
        return Respuesta::Si;
    case QMessageBox::No:
        return Respuesta::No;
    case QMessageBox::Ok:
        return Respuesta::OK;
    case QMessageBox::Retry:
        return Respuesta::Reintentar;
    default:
        return Respuesta::Cancelar;
    }
}

QString Entrada(const Mostrado& m, const QString& inicial) {
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(m.titulo);
    dlg.setLabelText(m.texto);
    dlg.setTextValue(inicial);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.textValue();
}

// The text of a file chooser's record is its filter.
QString Archivo(QObject* padre, const Mostrado& m, const QString& propuesto,
                QString* filtroElegido) {
    auto* ventana = qobject_cast<QWidget*>(padre);
    const bool imagen = m.texto.contains(QLatin1String("*.png"), Qt::CaseInsensitive) ||
                        m.texto.contains(QLatin1String("*.jpg"), Qt::CaseInsensitive);
    const QString inicial = Carpetas::InicioDeDialogo(propuesto, imagen);
    if (m.tipo == Tipo::GuardarArchivo)
        return QFileDialog::getSaveFileName(ventana, m.titulo, inicial, m.texto, filtroElegido);
    QFileDialog::Options opciones;
    const QString qt = FiltroQt(m.texto, &opciones);
    return QFileDialog::getOpenFileName(ventana, m.titulo, inicial, qt, nullptr, opciones);
}

void QuitarEsperaQt() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace

void InstalarPresentadorWidgets() {
    InstalarPresentador({Mensaje, Entrada, Archivo, QuitarEsperaQt});
}

} // namespace Mensajes
