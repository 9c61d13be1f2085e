#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's own pictures, compiled in from resources/ as SVG.

// Makes the compiled-in resources available; safe to call more than once.
void InitArtwork();

// The picture drawn at the given logical size, sharp on high-density screens.
QPixmap ArtPixmap(const QString &resource, QSize size, qreal devicePixelRatio = 0);

// An icon from one picture per size (a small picture drawn for 16 px looks
// better than a large one scaled down).
QIcon ArtIcon(const QString &smallResource, const QString &largeResource);
QIcon ArtIcon(const QString &resource, QSize size);
