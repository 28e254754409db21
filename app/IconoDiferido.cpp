#include "IconoDiferido.h"

#include <QPainter>

IconoDiferido::IconoDiferido(QMap<int, QString> archivos) : archivos_(std::move(archivos)) {}

QIconEngine* IconoDiferido::clone() const {
    return new IconoDiferido(*this);
}

QList<QSize> IconoDiferido::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> r;
    for (const int lado : archivos_.keys())
        r << QSize(lado, lado);
    return r;
}

int IconoDiferido::Lado(const QSize& size) const {
    const auto it = archivos_.lowerBound(qMax(size.width(), size.height()));
    return it != archivos_.cend() ? it.key() : archivos_.lastKey();
}

QSize IconoDiferido::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    if (archivos_.isEmpty())
        return {};
    const int lado = Lado(size);
    return QSize(lado, lado).scaled(size, Qt::KeepAspectRatio).boundedTo(QSize(lado, lado));
}

QPixmap IconoDiferido::pixmap(const QSize& size, QIcon::Mode, QIcon::State) {
    if (archivos_.isEmpty() || size.isEmpty())
        return {};
    const int lado = Lado(size);
    auto it = leidos_.find(lado);
    if (it == leidos_.end())
        it = leidos_.insert(lado, QPixmap(archivos_.value(lado)));
    // As QIcon does: never larger than asked for.
    if (it->width() <= size.width() && it->height() <= size.height())
        return *it;
    return it->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void IconoDiferido::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    const QPixmap p = pixmap(rect.size(), mode, state);
    QRect destino(QPoint(), p.size());
    destino.moveCenter(rect.center());
    painter->drawPixmap(destino, p);
}
