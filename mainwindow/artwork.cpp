#include "mainwindow/artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

static void initResources() { Q_INIT_RESOURCE(resources); }

void InitArtwork()
{
    static bool done = false;
    if (!done) {
        initResources();
        done = true;
    }
}

QPixmap ArtPixmap(const QString &resource, QSize size, qreal devicePixelRatio)
{
    InitArtwork();
    if (devicePixelRatio <= 0)
        devicePixelRatio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

QIcon ArtIcon(const QString &smallResource, const QString &largeResource)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(ArtPixmap(smallResource, QSize(16, 16), ratio));
        icon.addPixmap(ArtPixmap(largeResource, QSize(32, 32), ratio));
    }
    return icon;
}

QIcon ArtIcon(const QString &resource, QSize size)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(ArtPixmap(resource, size, ratio));
    return icon;
}
