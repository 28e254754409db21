#pragma once

#include <QString>

// A file's failure as the person reads it: a Spanish sentence for the usual causes (disk full,
// read-only disk, no permission, missing folder...), then the system's own text, which is often
// English and is what a technician searches for. An unknown cause keeps the system's text.
QString ErrorDeArchivo(const QString& textoDelSistema);
