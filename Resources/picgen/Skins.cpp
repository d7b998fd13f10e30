// Window skins, the logo, the player strip, the trim handles, the list header pictures and the splash.
#include "Drawing.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& a, const QColor& b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

void Text(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& color,
          int flags = Qt::AlignLeft | Qt::AlignVCenter) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, flags, text);
}

// A window face: rounded outline, navy header band of `headerHeight`, slate body.
void WindowFace(QPainter& p, int width, int height, int headerHeight, qreal radius) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, width, height), radius, radius);
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(0, 0, width, height), Vertical(0, height, Look::BodyTop, Look::BodyBottom));
    p.fillRect(QRectF(0, 0, width, headerHeight), Vertical(0, headerHeight, Look::HeaderTop, Look::HeaderBottom));
    // A thin accent line under the header, then a soft shadow.
    QColor accent = Look::Accent;
    accent.setAlpha(150);
    p.fillRect(QRectF(0, headerHeight, width, 1), accent);
    p.fillRect(QRectF(0, headerHeight + 1, width, 6),
               Vertical(headerHeight + 1, headerHeight + 7, QColor(0, 0, 0, 70), QColor(0, 0, 0, 0)));
    p.restore();
    p.setPen(QPen(Look::Outline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), radius, radius);
}

void StepHint(QPainter& p, qreal x, qreal y, int number, const QString& text) {
    p.setPen(QPen(Look::Accent, 1.4));
    p.setBrush(QColor(0x3b, 0x82, 0xf6, 40));
    p.drawEllipse(QRectF(x, y, 18, 18));
    Text(p, QRectF(x, y, 18, 18), QString::number(number), UiFont(11, true), Look::AccentLight, Qt::AlignCenter);
    Text(p, QRectF(x + 24, y - 1, 150, 20), text, UiFont(11), Look::Muted);
}

QImage MainSkin() {
    const int w = 719, h = 511;
    QImage img = Blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    WindowFace(p, w, h, 108, 12);

    // The mark and the line under the title.
    DrawMark(p, QRectF(46, 16, 76, 76));
    Text(p, QRectF(168, 38, 230, 18), "Convert, cut and collect your videos", UiFont(12), Look::Muted);
    Text(p, QRectF(168, 60, 230, 16), "RealMedia video  \u00b7  MP3 audio", UiFont(11), QColor(0x7d, 0x90, 0xab));
    // The contact buttons and the help buttons stand in two groups.
    p.fillRect(QRectF(541, 70, 1, 28), QColor(255, 255, 255, 40));

    // Cards behind the preview and the output settings.
    RoundedPanel(p, QRectF(9, 111, 270, 231), 8, Look::Card, Look::CardBorder);
    RoundedPanel(p, QRectF(281, 113, 424, 150), 8, Look::Card, Look::CardBorder);

    // What to do, for the first minute.
    StepHint(p, 292, 280, 1, "Add your videos");
    StepHint(p, 432, 280, 2, "Mark the part to keep");
    StepHint(p, 292, 306, 3, "Press Convert");
    Text(p, QRectF(432, 305, 270, 20), "Outputs go to the folder above", UiFont(11), QColor(0x7d, 0x90, 0xab));
    return ToSkin(img, Look::BodyBottom);
}

QImage ConvertingSkin() {
    const int w = 435, h = 222;
    QImage img = Blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    WindowFace(p, w, h, 36, 10);
    DrawMark(p, QRectF(12, 7, 22, 22));
    Text(p, QRectF(42, 0, 200, 36), "Converting", UiFont(13, true), Look::Text);
    Text(p, QRectF(200, 0, 222, 36), "Vantorel", UiFont(11), Look::Muted, Qt::AlignRight | Qt::AlignVCenter);
    RoundedPanel(p, QRectF(12, 41, 411, 150), 8, Look::Card, Look::CardBorder);
    // The status line sits in its own strip at the bottom.
    p.fillRect(QRectF(1, 205, w - 2, 1), Look::CardBorder);
    return ToSkin(img, Look::BodyBottom);
}

QImage Logo() {
    const int w = 258, h = 156;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QRadialGradient glow(QPointF(w / 2.0, h * 0.42), w * 0.65);
    glow.setColorAt(0, QColor(0x1f, 0x33, 0x52));
    glow.setColorAt(1, QColor(0x0d, 0x12, 0x19));
    p.fillRect(img.rect(), glow);
    DrawMark(p, QRectF((w - 62) / 2.0, 20, 62, 62));
    Text(p, QRectF(0, 88, w, 24), "Vantorel", UiFont(19, true), Look::Text, Qt::AlignCenter);
    Text(p, QRectF(0, 116, w, 16), "Double-click a file in the list to preview it", UiFont(10), Look::Muted,
         Qt::AlignCenter);
    return img;
}

QImage PlayStrip() {
    QImage img(257, 33, QImage::Format_RGB32);
    img.fill(Look::Card);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 33);
    g.setColorAt(0, QColor(0x23, 0x2c, 0x39));
    g.setColorAt(1, QColor(0x18, 0x1f, 0x28));
    p.setPen(QPen(Look::CardBorder, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 256, 32), 5, 5);
    return img;
}

// Trim handles: black is the handle's background, so the grip is drawn in other colours only.
QImage Handle(bool start) {
    QImage img(18, 20, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1a, 0x3f, 0xa8), 1));
    p.setBrush(Look::Accent);
    p.drawRoundedRect(QRectF(4.5, 0.5, 9, 19), 3, 3);
    QPainterPath tab;
    const qreal edge = start ? 13.5 : 4.5, tip = start ? 17.5 : 0.5;
    tab.moveTo(edge, 1);
    tab.lineTo(tip, 1);
    tab.lineTo(edge, 7);
    tab.closeSubpath();
    p.drawPath(tab);
    p.setPen(QPen(QColor(0xe8, 0xf0, 0xff), 1));
    for (int y : {7, 10, 13}) p.drawLine(QPointF(7, y + 0.5), QPointF(11, y + 0.5));
    p.end();
    // Antialiasing must not leave near-black pixels that would not be taken as background.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 24) img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

QImage HeaderPicture(const char* glyph) {
    QImage img = Blank(16, 16);
    QPainter p(&img);
    DrawGlyph(p, glyph, QRectF(1, 1, 14, 14), Look::Accent);
    return img;
}

QImage Splash() {
    const int w = 480, h = 300;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(0x22, 0x3a, 0x5e));
    g.setColorAt(1, QColor(0x0f, 0x17, 0x26));
    p.fillRect(img.rect(), g);
    // The mark once more, large and faint, behind the text.
    p.setOpacity(0.08);
    DrawMark(p, QRectF(280, 40, 260, 260));
    p.setOpacity(1);
    DrawMark(p, QRectF(40, 70, 96, 96));
    Text(p, QRectF(156, 72, 300, 52), "Vantorel", UiFont(44, true), Look::Text);
    Text(p, QRectF(159, 126, 300, 24), "Batch video converter", UiFont(17), QColor(0xb8, 0xc8, 0xde));
    p.fillRect(QRectF(40, 196, 400, 1), QColor(255, 255, 255, 40));
    Text(p, QRectF(40, 206, 400, 18), "RealMedia video and MP3 audio, cut and converted in one go", UiFont(11),
         Look::Muted);
    Text(p, QRectF(40, 256, 200, 18), "Version 1.0.0", UiFont(11), Look::Muted);
    Text(p, QRectF(240, 256, 200, 18), "Starting\u2026", UiFont(11), Look::Muted, Qt::AlignRight | Qt::AlignVCenter);
    p.fillRect(QRectF(0, h - 4, w, 4), Look::Accent);
    return img;
}

} // namespace

void MakeSkins(PictureSink& sink) {
    sink.Save("rzfrmshpfrmConverter", MainSkin());
    sink.Save("rzfrmshpConvertting", ConvertingSkin());
    sink.Save("imgLOGO", Logo());
    sink.Save("imgPlay", PlayStrip());
    sink.Save("imgL", Handle(true));
    sink.Save("imgR", Handle(false));
    const char* headers[][2] = {{"hdrFileName", "file"}, {"hdrFileSize", "size"}, {"hdrDuration", "clock"},
                                {"hdrStartTime", "start"}, {"hdrEndTime", "end"},   {"hdrCutTime", "cut"}};
    for (const auto& h : headers) sink.Save(h[0], HeaderPicture(h[1]));
    sink.SaveWork("ImgFlash.jpg", Splash(), "JPEG", 92);
}
