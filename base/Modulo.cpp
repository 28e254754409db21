#include "Modulo.h"

#include "quimbel_modulos.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QPluginLoader>

namespace Modulo {

QObject* Cargar(const QString& nombre, QString* error) {
    static QHash<QString, QObject*> cargados;
    if (QObject* objeto = cargados.value(nombre))
        return objeto;
    // Beside the program in the same relative place in the build tree and in an installed one,
    // so that neither the library path nor a fixed prefix decides which module is loaded.
    const QDir carpeta(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                       QStringLiteral(QUIMBEL_MODULOS_RELATIVO));
    QPluginLoader cargador(carpeta.filePath(nombre));
    QObject* objeto = cargador.instance();
    if (!objeto) {
        if (error)
            *error = cargador.errorString();
        return nullptr;
    }
    cargados.insert(nombre, objeto);
    return objeto;
}

QString FaltaModulo(const QString& queNo, const QString& error) {
    return QStringLiteral("%1: falta una parte del programa o está dañada. Instale Quimbel de "
                          "nuevo o consulte a la persona de sistemas.\n\n%2")
        .arg(queNo, error);
}

} // namespace Modulo
