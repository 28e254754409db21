#pragma once

#include <QList>
#include <QString>
#include <functional>

class QObject;

// Every message box, input box and file or folder dialog of the program goes through here, so
// that tests can read what a person would have seen and answer it.
namespace Mensajes {

enum class Icono { Ninguno, Informacion, Exclamacion, Critico, Pregunta };
enum class Botones { OK, OKCancelar, SiNo, SiNoCancelar, ReintentarCancelar };
enum class Respuesta { OK, Cancelar, Si, No, Reintentar };

enum class Tipo { Mensaje, Entrada, AbrirArchivo, GuardarArchivo, Carpeta };

struct Mostrado {
    Tipo tipo = Tipo::Mensaje;
    QString texto;
    QString titulo;
    Icono icono = Icono::Ninguno;
    Botones botones = Botones::OK;
    QString detalle;
};

// `detalle` is shown on request below the text: what support needs, not what the user must read.
Respuesta MsgBox(const QString& texto, Botones botones = Botones::OK, Icono icono = Icono::Ninguno,
                 const QString& titulo = QStringLiteral("Quimbel"), const QString& detalle = {});

// Gives back the typed text, or the empty text when the person cancels (as an input box does).
QString InputBox(const QString& pregunta, const QString& titulo, const QString& inicial = {});

// File and folder choosers: the empty text means the person cancelled.
QString AbrirArchivo(QObject* padre, const QString& titulo, const QString& filtro,
                     const QString& inicial = {});
// `filtroElegido`, when given, receives the filter the person picked (empty in test mode).
QString GuardarArchivo(QObject* padre, const QString& titulo, const QString& filtro,
                       const QString& inicial = {}, QString* filtroElegido = nullptr);

// Test mode: nothing is shown on screen. A box with only "OK" is answered by itself; any other
// box, input or dialog takes the next queued answer, and one with nothing queued ends the test
// run at once instead of waiting for a person who is not there.
void ModoPrueba(bool activo);
// For choosers kept in their own modules: records what was shown and gives the queued text.
QString TextoDePrueba(const Mostrado& m);
bool EnModoPrueba();
void Responder(Respuesta respuesta);
void ResponderTexto(const QString& texto);
// Told of every box as it is shown in test mode, before it is answered: what another
// workstation does while a person reads a box.
void AlMostrar(std::function<void(const Mostrado&)> observador);
QList<Mostrado> Mostrados();
QString UltimoTexto();
void Limpiar();
int RespuestasPendientes();

// Without a GUI (the command-line tool) messages go to standard error and questions get "No".
void ModoConsola(bool activo);
Respuesta EnConsola(const Mostrado& m);

// What puts a box on screen. This layer knows no widgets: the program installs one at start-up;
// without one, messages go to the console and the other boxes are cancelled.
struct Presentador {
    std::function<Respuesta(const Mostrado&)> mensaje;
    std::function<QString(const Mostrado&, const QString& inicial)> entrada;
    std::function<QString(QObject* padre, const Mostrado&, const QString& inicial,
                          QString* filtroElegido)>
        archivo;
    std::function<void()> quitarEspera;
};
void InstalarPresentador(Presentador presentador);
// Back to the normal pointer before telling the person something went wrong.
void QuitarEspera();

} // namespace Mensajes
