#include "TraduccionesQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool CargarTraduccionesDeQt() {
    static QTranslator* instalada = nullptr;
    if (instalada)
        return true;
    auto* t = new QTranslator(QCoreApplication::instance());
    // "qt" gathers the catalogues of every Qt module (qtbase_es and the others).
    if (!t->load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    instalada = t;
    return true;
}
