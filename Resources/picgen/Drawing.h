// Shared colours, fonts and glyphs of Vantorel's pictures, so that every picture speaks one visual language.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace Look {
// A calm dark blue-grey: navy header, slate body, one blue accent.
inline const QColor HeaderTop{0x22, 0x3a, 0x5e};
inline const QColor HeaderBottom{0x16, 0x27, 0x42};
inline const QColor BodyTop{0x2a, 0x33, 0x40};
inline const QColor BodyBottom{0x22, 0x29, 0x34};
inline const QColor Card{0x1d, 0x24, 0x2e};
inline const QColor CardBorder{0x3a, 0x47, 0x5a};
inline const QColor Outline{0x50, 0x63, 0x7e};
inline const QColor Accent{0x3b, 0x82, 0xf6};
inline const QColor AccentDark{0x1d, 0x4e, 0xd8};
inline const QColor AccentLight{0x7c, 0xb0, 0xff};
inline const QColor Text{0xe8, 0xee, 0xf6};
inline const QColor Muted{0x9a, 0xab, 0xc2};
inline const QColor Danger{0xd9, 0x48, 0x48};
inline const QColor Trim{0xf5, 0x9e, 0x0b};
// Pixels of this colour lie outside a window's shape.
inline const QColor Transparent{0xff, 0x00, 0xff};
} // namespace Look

QFont UiFont(int pixelSize, bool bold = false);

// A blank picture with a fully transparent background.
QImage Blank(int width, int height);

// Turns a picture drawn with alpha into an opaque skin: what is mostly transparent becomes the
// transparent colour, everything else is laid over `under` so no pink fringe survives at the edges.
QImage ToSkin(const QImage& drawn, const QColor& under);

// Icon glyphs drawn in `box` with `color`; the names are those of the generator's table.
void DrawGlyph(QPainter& p, const QString& name, const QRectF& box, const QColor& color);

// The product mark (from the icon's SVG source) rendered into `box`.
void DrawMark(QPainter& p, const QRectF& box);
void SetMarkSource(const QString& svgPath);

void RoundedPanel(QPainter& p, const QRectF& r, qreal radius, const QColor& fill, const QColor& border);
