#include "Mensajes.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QQueue>
#include <cstdio>

namespace Mensajes {
namespace {

struct Estado {
    bool prueba = false;
    bool consola = false;
    QQueue<Respuesta> respuestas;
    QQueue<QString> textos;
    QList<Mostrado> mostrados;
};

Estado& estado() {
    static Estado e;
    return e;
}

[[noreturn]] void SinRespuesta(const Mostrado& m) {
    qFatal("Mensajes: se mostró \"%s\" (%s) sin respuesta preparada por la prueba",
           qPrintable(m.texto), qPrintable(m.titulo));
}

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

QString TextoPrueba(const Mostrado& m) {
    Estado& e = estado();
    e.mostrados.append(m);
    if (e.textos.isEmpty())
        SinRespuesta(m);
    return e.textos.dequeue();
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

} // namespace

Respuesta MsgBox(const QString& texto, Botones botones, Icono icono, const QString& titulo,
                 const QString& detalle) {
    Estado& e = estado();
    Mostrado m{Tipo::Mensaje, texto, titulo, icono, botones, detalle};
    if (e.prueba) {
        e.mostrados.append(m);
        if (!e.respuestas.isEmpty())
            return e.respuestas.dequeue();
        if (botones == Botones::OK)
            return Respuesta::OK;
        SinRespuesta(m);
    }
    if (e.consola || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QString linea = detalle.isEmpty() ? texto : texto + QLatin1Char('\n') + detalle;
        linea.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::fprintf(stderr, "%s: %s\n", qPrintable(titulo), qPrintable(linea));
        return botones == Botones::OK ? Respuesta::OK : Respuesta::No;
    }

    QMessageBox caja(IconoQt(icono), titulo, texto, QMessageBox::NoButton,
                     QApplication::activeWindow());
    caja.setDetailedText(detalle);
    NombrarIcono(caja, icono);
    switch (botones) {
    case Botones::OK:
        caja.setStandardButtons(QMessageBox::Ok);
        break;
    case Botones::OKCancelar:
        caja.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Botones::SiNo:
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Botones::SiNoCancelar:
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
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
    default:
        return Respuesta::Cancelar;
    }
}

QString InputBox(const QString& pregunta, const QString& titulo, const QString& inicial) {
    Mostrado m{Tipo::Entrada, pregunta, titulo, Icono::Ninguno, Botones::OKCancelar, {}};
    if (estado().prueba)
        return TextoPrueba(m);
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(titulo);
    dlg.setLabelText(pregunta);
    dlg.setTextValue(inicial);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.textValue();
}

QString AbrirArchivo(QWidget* padre, const QString& titulo, const QString& filtro,
                     const QString& inicial) {
    Mostrado m{Tipo::AbrirArchivo, filtro, titulo, Icono::Ninguno, Botones::OKCancelar, {}};
    if (estado().prueba)
        return TextoPrueba(m);
    QFileDialog::Options opciones;
    const QString qt = FiltroQt(filtro, &opciones);
    return QFileDialog::getOpenFileName(padre, titulo, inicial, qt, nullptr, opciones);
}

QString GuardarArchivo(QWidget* padre, const QString& titulo, const QString& filtro,
                       const QString& inicial, QString* filtroElegido) {
    Mostrado m{Tipo::GuardarArchivo, filtro, titulo, Icono::Ninguno, Botones::OKCancelar, {}};
    if (estado().prueba)
        return TextoPrueba(m);
    return QFileDialog::getSaveFileName(padre, titulo, inicial, filtro, filtroElegido);
}

QString TextoDePrueba(const Mostrado& m) {
    return TextoPrueba(m);
}

void ModoPrueba(bool activo) {
    estado().prueba = activo;
    Limpiar();
}

bool EnModoPrueba() {
    return estado().prueba;
}

void Responder(Respuesta respuesta) {
    estado().respuestas.enqueue(respuesta);
}

void ResponderTexto(const QString& texto) {
    estado().textos.enqueue(texto);
}

QList<Mostrado> Mostrados() {
    return estado().mostrados;
}

QString UltimoTexto() {
    const auto& m = estado().mostrados;
    return m.isEmpty() ? QString() : m.last().texto;
}

void Limpiar() {
    Estado& e = estado();
    e.respuestas.clear();
    e.textos.clear();
    e.mostrados.clear();
}

int RespuestasPendientes() {
    return estado().respuestas.size() + estado().textos.size();
}

void ModoConsola(bool activo) {
    estado().consola = activo;
}

} // namespace Mensajes
