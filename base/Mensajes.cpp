#include "Mensajes.h"

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
    std::function<void(const Mostrado&)> alMostrar;
    Presentador presentador;
};

Estado& estado() {
    static Estado e;
    return e;
}

[[noreturn]] void SinRespuesta(const Mostrado& m) {
    qFatal("Mensajes: se mostró \"%s\" (%s) sin respuesta preparada por la prueba",
           qPrintable(m.texto), qPrintable(m.titulo));
}

QString TextoPrueba(const Mostrado& m) {
    Estado& e = estado();
    e.mostrados.append(m);
    if (e.textos.isEmpty())
        SinRespuesta(m);
    return e.textos.dequeue();
}

QString Archivo(QObject* padre, const Mostrado& m, const QString& inicial,
                QString* filtroElegido = nullptr) {
    if (estado().prueba)
        return TextoPrueba(m);
    const auto& archivo = estado().presentador.archivo;
    return archivo ? archivo(padre, m, inicial, filtroElegido) : QString();
}

} // namespace

Respuesta EnConsola(const Mostrado& m) {
    QString linea = m.detalle.isEmpty() ? m.texto : m.texto + QLatin1Char('\n') + m.detalle;
    linea.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s: %s\n", qPrintable(m.titulo), qPrintable(linea));
    return m.botones == Botones::OK ? Respuesta::OK : Respuesta::No;
}

Respuesta MsgBox(const QString& texto, Botones botones, Icono icono, const QString& titulo,
                 const QString& detalle) {
    Estado& e = estado();
    Mostrado m{Tipo::Mensaje, texto, titulo, icono, botones, detalle};
    if (e.prueba) {
        e.mostrados.append(m);
        if (e.alMostrar)
            e.alMostrar(m);
        if (!e.respuestas.isEmpty())
            return e.respuestas.dequeue();
        if (botones == Botones::OK)
            return Respuesta::OK;
        SinRespuesta(m);
    }
    if (e.consola || !e.presentador.mensaje)
        return EnConsola(m);
    return e.presentador.mensaje(m);
}

QString InputBox(const QString& pregunta, const QString& titulo, const QString& inicial) {
    Mostrado m{Tipo::Entrada, pregunta, titulo, Icono::Ninguno, Botones::OKCancelar, {}};
    if (estado().prueba)
        return TextoPrueba(m);
    const auto& entrada = estado().presentador.entrada;
    return entrada ? entrada(m, inicial) : QString();
}

QString AbrirArchivo(QObject* padre, const QString& titulo, const QString& filtro,
                     const QString& inicial) {
    return Archivo(padre,
                   {Tipo::AbrirArchivo, filtro, titulo, Icono::Ninguno, Botones::OKCancelar, {}},
                   inicial);
}

QString GuardarArchivo(QObject* padre, const QString& titulo, const QString& filtro,
                       const QString& inicial, QString* filtroElegido) {
    return Archivo(padre,
                   {Tipo::GuardarArchivo, filtro, titulo, Icono::Ninguno, Botones::OKCancelar, {}},
                   inicial, filtroElegido);
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

void AlMostrar(std::function<void(const Mostrado&)> observador) {
    estado().alMostrar = std::move(observador);
}

void Limpiar() {
    Estado& e = estado();
    e.alMostrar = {};
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

void InstalarPresentador(Presentador presentador) {
    estado().presentador = std::move(presentador);
}

void QuitarEspera() {
    if (const auto& quitar = estado().presentador.quitarEspera)
        quitar();
}

} // namespace Mensajes
