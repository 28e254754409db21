#pragma once

#include <QHash>
#include <QIconEngine>
#include <QMap>
#include <QPixmap>

// A picture kept in several square sizes, one file each, read only when a size is first asked
// for. The program's icon is set before the first window shows, and decoding every size then
// cost a sixteenth of the start-up, while most platforms ask for one size or none. Modes are not
// drawn apart: it is the window's icon, never a button's.
class IconoDiferido : public QIconEngine {
public:
    // The file of each size, by its side in pixels.
    explicit IconoDiferido(QMap<int, QString> archivos);

    QIconEngine* clone() const override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;

private:
    // The smallest file at least as large as `size`, else the largest.
    int Lado(const QSize& size) const;

    QMap<int, QString> archivos_;
    QHash<int, QPixmap> leidos_;
};
