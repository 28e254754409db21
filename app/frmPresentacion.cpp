#include "frmPresentacion.h"

#include "Pantalla.h"
#include "Programa.h"

#include "ui_frmPresentacion.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QRadialGradient>

namespace {

// A copy quicker than this passes without a bar: with a small database nothing changes.
constexpr qint64 kMsSinBarra = 400;

void Colorear(QLabel* l, const QColor& color) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
}

} // namespace

frmPresentacion* frmPresentacion::Mostrar() {
    auto* f = new frmPresentacion;
    Pantalla::TraerAlFrente(f);
    f->setFocus();
    f->repaint();
    return f;
}

frmPresentacion::frmPresentacion(QWidget* padre)
    : QWidget(padre, Qt::SplashScreen | Qt::FramelessWindowHint), ui(new Ui::frmPresentacion) {
    ui->setupUi(this);
    lblProductName = ui->lblProductName;
    lblVersion = ui->lblVersion;
    lblCompany = ui->lblCompany;
    lblCopia = ui->lblCopia;
    prgCopia = ui->prgCopia;
    // Closing the splash early must not count as the program's last window closing.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(Pantalla::Twips(7500, this), Pantalla::Twips(4500, this));

    Colorear(lblProductName, Qt::white);
    Colorear(lblVersion, QColor(0xd9, 0xee, 0xee));
    Colorear(lblCompany, Qt::white);
    Colorear(lblCopia, Qt::white);
    lblProductName->setText(Programa::Titulo());
    lblVersion->setText(QStringLiteral("Version ") + Programa::Version());
    lblCompany->setText(Programa::Empresa());

    ui->todo->setContentsMargins(Pantalla::Twips(2700, this), Pantalla::Twips(900, this),
                                 Pantalla::Twips(450, this), Pantalla::Twips(450, this));
    prgCopia->setMaximumHeight(Pantalla::Twips(150, this));
    lblCopia->hide();
    prgCopia->hide();
}

frmPresentacion::~frmPresentacion() = default;

void frmPresentacion::Avance(int hechas, int total) {
    if (!copiando_.isValid())
        copiando_.start();
    if (total > 0 && !prgCopia->isVisible() && copiando_.elapsed() >= kMsSinBarra) {
        lblCopia->show();
        prgCopia->show();
    }
    prgCopia->setRange(0, qMax(total, 1));
    prgCopia->setValue(qBound(0, hechas, qMax(total, 1)));
    // The program has one thread for the person's work: the copy runs on it, so the splash is
    // painted here, between steps. Input waits until start-up is over.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmPresentacion::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();

    QLinearGradient fondo(r.topLeft(), r.bottomRight());
    fondo.setColorAt(0, QColor(0x14, 0x6e, 0x74));
    fondo.setColorAt(1, QColor(0x0a, 0x2f, 0x45));
    p.fillRect(r, fondo);

    // Soft light behind the emblem and a few ruled lines, like an order form seen from afar.
    QRadialGradient luz(QPointF(r.width() * 0.2, r.height() * 0.45), r.height() * 0.6);
    luz.setColorAt(0, QColor(255, 255, 255, 60));
    luz.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(r, luz);
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (qreal y = r.height() * 0.62; y < r.height() * 0.86; y += r.height() * 0.06)
        p.drawLine(QPointF(r.width() * 0.38, y), QPointF(r.width() * 0.94, y));

    QPainterPath franja;
    franja.moveTo(0, r.height() * 0.9);
    franja.cubicTo(r.width() * 0.35, r.height() * 0.78, r.width() * 0.65, r.height(), r.width(),
                   r.height() * 0.86);
    franja.lineTo(r.width(), r.height());
    franja.lineTo(0, r.height());
    franja.closeSubpath();
    p.fillPath(franja, QColor(0xe0, 0x8a, 0x1e, 170));

    const int lado = qRound(r.height() * 0.46);
    p.drawPixmap(QPointF(r.width() * 0.07, r.height() * 0.22),
                 Programa::IconoPixmap(lado * devicePixelRatio())
                     .scaled(lado, lado, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void frmPresentacion::keyPressEvent(QKeyEvent* e) {
    e->accept();
    close();
}
