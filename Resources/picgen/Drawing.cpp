#include "Drawing.h"

#include <QPainterPath>
#include <QSvgRenderer>
#include <QtMath>

#include <memory>

namespace {
std::unique_ptr<QSvgRenderer> MarkRenderer;

QPen Stroke(const QColor& color, qreal width) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}
} // namespace

QFont UiFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage ToSkin(const QImage& drawn, const QColor& under) {
    QImage out(drawn.size(), QImage::Format_RGB32);
    out.fill(under);
    {
        QPainter p(&out);
        p.drawImage(0, 0, drawn);
    }
    const QImage source = drawn.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(in[x]) < 128) line[x] = Look::Transparent.rgb();
    }
    return out;
}

void RoundedPanel(QPainter& p, const QRectF& r, qreal radius, const QColor& fill, const QColor& border) {
    p.save();
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void SetMarkSource(const QString& svgPath) { MarkRenderer = std::make_unique<QSvgRenderer>(svgPath); }

void DrawMark(QPainter& p, const QRectF& box) {
    if (MarkRenderer && MarkRenderer->isValid()) MarkRenderer->render(&p, box);
}

void DrawGlyph(QPainter& p, const QString& name, const QRectF& box, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = qMin(box.width(), box.height());
    const QRectF b(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    const qreal w = qMax<qreal>(1.4, s / 11.0);
    auto at = [&](qreal fx, qreal fy) { return QPointF(b.left() + fx * s, b.top() + fy * s); };
    p.setPen(Stroke(color, w));
    p.setBrush(Qt::NoBrush);

    if (name == "home") {
        QPainterPath roof;
        roof.moveTo(at(0.08, 0.50));
        roof.lineTo(at(0.50, 0.12));
        roof.lineTo(at(0.92, 0.50));
        p.drawPath(roof);
        QPainterPath body;
        body.moveTo(at(0.22, 0.40));
        body.lineTo(at(0.22, 0.88));
        body.lineTo(at(0.78, 0.88));
        body.lineTo(at(0.78, 0.40));
        p.drawPath(body);
        p.setBrush(color);
        p.drawRect(QRectF(at(0.42, 0.60), at(0.58, 0.88)));
    } else if (name == "mail") {
        p.drawRoundedRect(QRectF(at(0.08, 0.22), at(0.92, 0.80)), s * 0.06, s * 0.06);
        QPainterPath flap;
        flap.moveTo(at(0.10, 0.26));
        flap.lineTo(at(0.50, 0.56));
        flap.lineTo(at(0.90, 0.26));
        p.drawPath(flap);
    } else if (name == "help" || name == "about") {
        p.drawEllipse(QRectF(at(0.08, 0.08), at(0.92, 0.92)));
        QFont f = UiFont(qRound(s * 0.58), true);
        p.setFont(f);
        p.setPen(color);
        p.drawText(b.translated(0, s * 0.02), Qt::AlignCenter, name == "help" ? "?" : "i");
    } else if (name == "minimize") {
        p.drawLine(at(0.22, 0.68), at(0.78, 0.68));
    } else if (name == "close") {
        p.drawLine(at(0.25, 0.25), at(0.75, 0.75));
        p.drawLine(at(0.75, 0.25), at(0.25, 0.75));
    } else if (name == "folder") {
        QPainterPath folder;
        folder.moveTo(at(0.08, 0.24));
        folder.lineTo(at(0.38, 0.24));
        folder.lineTo(at(0.46, 0.34));
        folder.lineTo(at(0.92, 0.34));
        folder.lineTo(at(0.92, 0.82));
        folder.lineTo(at(0.08, 0.82));
        folder.closeSubpath();
        QColor fill = color;
        fill.setAlphaF(0.25);
        p.setBrush(fill);
        p.drawPath(folder);
        p.drawLine(at(0.08, 0.44), at(0.92, 0.44));
    } else if (name == "gear") {
        const QPointF c = b.center();
        p.setPen(Stroke(color, w * 1.6));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4;
            p.drawLine(c + QPointF(qCos(a), qSin(a)) * s * 0.30, c + QPointF(qCos(a), qSin(a)) * s * 0.44);
        }
        p.setPen(Stroke(color, w));
        p.drawEllipse(c, s * 0.28, s * 0.28);
        p.drawEllipse(c, s * 0.10, s * 0.10);
    } else if (name == "add" || name == "remove") {
        p.setPen(Stroke(color, w * 1.3));
        p.drawLine(at(0.20, 0.50), at(0.80, 0.50));
        if (name == "add") p.drawLine(at(0.50, 0.20), at(0.50, 0.80));
    } else if (name == "clear") {
        // A waste basket.
        p.drawLine(at(0.14, 0.24), at(0.86, 0.24));
        p.drawLine(at(0.38, 0.24), at(0.40, 0.12));
        p.drawLine(at(0.40, 0.12), at(0.60, 0.12));
        p.drawLine(at(0.60, 0.12), at(0.62, 0.24));
        QPainterPath can;
        can.moveTo(at(0.22, 0.30));
        can.lineTo(at(0.28, 0.90));
        can.lineTo(at(0.72, 0.90));
        can.lineTo(at(0.78, 0.30));
        p.drawPath(can);
        p.drawLine(at(0.42, 0.40), at(0.43, 0.78));
        p.drawLine(at(0.58, 0.40), at(0.57, 0.78));
    } else if (name == "convert") {
        p.setPen(Stroke(color, w * 1.2));
        p.drawLine(at(0.12, 0.50), at(0.80, 0.50));
        QPainterPath head;
        head.moveTo(at(0.56, 0.24));
        head.lineTo(at(0.86, 0.50));
        head.lineTo(at(0.56, 0.76));
        p.drawPath(head);
    } else if (name == "play") {
        QPainterPath tri;
        tri.moveTo(at(0.28, 0.18));
        tri.lineTo(at(0.82, 0.50));
        tri.lineTo(at(0.28, 0.82));
        tri.closeSubpath();
        p.setBrush(color);
        p.drawPath(tri);
    } else if (name == "pause") {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(at(0.24, 0.18), at(0.42, 0.82)), s * 0.03, s * 0.03);
        p.drawRoundedRect(QRectF(at(0.58, 0.18), at(0.76, 0.82)), s * 0.03, s * 0.03);
    } else if (name == "stop") {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(at(0.22, 0.22), at(0.78, 0.78)), s * 0.06, s * 0.06);
    } else if (name == "file") {
        QPainterPath page;
        page.moveTo(at(0.22, 0.08));
        page.lineTo(at(0.62, 0.08));
        page.lineTo(at(0.80, 0.26));
        page.lineTo(at(0.80, 0.92));
        page.lineTo(at(0.22, 0.92));
        page.closeSubpath();
        p.drawPath(page);
        QPainterPath tri;
        tri.moveTo(at(0.42, 0.42));
        tri.lineTo(at(0.64, 0.57));
        tri.lineTo(at(0.42, 0.72));
        tri.closeSubpath();
        p.setBrush(color);
        p.drawPath(tri);
    } else if (name == "size") {
        // A stack of disks.
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(at(0.14, 0.14 + i * 0.26), at(0.86, 0.34 + i * 0.26)), s * 0.05, s * 0.05);
    } else if (name == "clock") {
        p.drawEllipse(QRectF(at(0.08, 0.08), at(0.92, 0.92)));
        p.drawLine(at(0.50, 0.50), at(0.50, 0.24));
        p.drawLine(at(0.50, 0.50), at(0.70, 0.62));
    } else if (name == "start" || name == "end") {
        const bool start = name == "start";
        const qreal x = start ? 0.30 : 0.70;
        p.drawLine(at(x, 0.12), at(x, 0.88));
        QPainterPath flag;
        flag.moveTo(at(x, 0.14));
        flag.lineTo(at(start ? 0.84 : 0.16, 0.30));
        flag.lineTo(at(x, 0.48));
        flag.closeSubpath();
        p.setBrush(color);
        p.drawPath(flag);
    } else if (name == "cut") {
        p.drawEllipse(QRectF(at(0.10, 0.62), at(0.36, 0.88)));
        p.drawEllipse(QRectF(at(0.64, 0.62), at(0.90, 0.88)));
        p.drawLine(at(0.30, 0.64), at(0.72, 0.10));
        p.drawLine(at(0.70, 0.64), at(0.28, 0.10));
    }
    p.restore();
}
