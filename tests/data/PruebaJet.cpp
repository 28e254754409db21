#include "Entorno.h"
#include "RegistroPruebas.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString ProgramaConstruido(const QString& nombre) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/") + nombre;
}

// What a program wrote to its output, or an empty string when it failed.
QString SalidaDe(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Rows as tab-separated lines in key order; a decimal number is compared at the precision both
// sides keep, since the reader prints a double with one more digit than it needs, and a NULL
// as nothing, which the program's tool prints as \N.
QStringList FilasExportadas(const QString& texto) {
    QStringList filas = texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& fila : filas) {
        QStringList celdas = fila.split(QLatin1Char('\t'));
        for (QString& c : celdas) {
            if (c == QLatin1String("\\N"))
                c.clear();
            bool ok = false;
            const double d = c.toDouble(&ok);
            if (ok && c.contains(QLatin1Char('.')))
                c = QString::number(d, 'g', 15);
        }
        fila = celdas.join(QLatin1Char('\t'));
    }
    std::sort(filas.begin(), filas.end(), [](const QString& a, const QString& b) {
        return a.section(QLatin1Char('\t'), 0, 0).toLongLong() <
               b.section(QLatin1Char('\t'), 0, 0).toLongLong();
    });
    return filas;
}

} // namespace

// The test writer's files must be real ones: Debian's own reader, which knows nothing of this
// program, has to find every table and read back every value of the demo database.
class PruebaJet : public QObject {
    Q_OBJECT

private slots:
    void lectorDeDebianLeeLoEscrito_data() {
        QTest::addColumn<QString>("opcion");
        QTest::newRow("jet4") << QString();
        QTest::newRow("jet3") << QStringLiteral("--jet3");
    }

    void lectorDeDebianLeeLoEscrito() {
        QFETCH(QString, opcion);
        if (QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty())
            QSKIP("mdbtools no está instalado");
        QTemporaryDir dir;
        const QString demo = dir.filePath(QStringLiteral("demo.db"));
        const QString acc = dir.filePath(QStringLiteral("acc.mdb"));
        QVERIFY(!SalidaDe(ProgramaConstruido(QStringLiteral("quimbel-db")),
                          {QStringLiteral("crear"), QStringLiteral("--demo"), demo})
                     .isEmpty());
        QStringList args{demo, acc};
        if (!opcion.isEmpty())
            args.prepend(opcion);
        QProcess p;
        p.start(ProgramaConstruido(QStringLiteral("jet-prueba")), args);
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);

        const QStringList tablas =
            SalidaDe(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), acc})
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(tablas.contains(QStringLiteral("ordenes")));
        QVERIFY(tablas.contains(QStringLiteral("precios")));
        QVERIFY(tablas.contains(QStringLiteral("usuarios")));
        for (const QString& t : tablas) {
            const QString enPrograma =
                SalidaDe(ProgramaConstruido(QStringLiteral("quimbel-db")),
                         {QStringLiteral("sql"), demo, QStringLiteral("SELECT * FROM ") + t})
                    .section(QLatin1Char('\n'), 1);
            const QString leido =
                SalidaDe(QStringLiteral("mdb-export"),
                         {QStringLiteral("-H"), QStringLiteral("-Q"), QStringLiteral("-d"),
                          QStringLiteral("\t"), QStringLiteral("-T"),
                          QStringLiteral("%Y-%m-%d %H:%M:%S"), acc, t});
            QCOMPARE(FilasExportadas(leido), FilasExportadas(enPrograma));
        }
    }
};

QUIMBEL_PRUEBA(PruebaJet)
#include "PruebaJet.moc"
