// Button pictures: one per state, the label drawn into the picture.
#include "Drawing.h"
#include "Pictures.h"

#include <QLinearGradient>

namespace {

enum class Style { Action, Primary, Header, Caption, CaptionClose, Tool };
enum class State { Up, Hot, Down, Disabled };

struct ButtonSpec {
    const char* name;
    int width, height;
    Style style;
    const char* glyph;
    const char* label; // empty: the glyph alone is the label
    bool hasDisabled;
};

// Every picture button of the main and progress windows, at its control's size.
const ButtonSpec Buttons[] = {
    {"btnWindowMinimize", 31, 27, Style::Caption, "minimize", "", false},
    {"btnWindowClose", 31, 27, Style::CaptionClose, "close", "", false},
    {"btnHomePage", 48, 41, Style::Header, "home", "Home", false},
    {"btnEMail", 48, 41, Style::Header, "mail", "E-mail", false},
    {"btnHelp", 48, 41, Style::Header, "help", "Help", false},
    {"btnAbout", 48, 41, Style::Header, "about", "About", false},
    {"btnPlay", 26, 22, Style::Tool, "play", "", false},
    {"btnPause", 26, 22, Style::Tool, "pause", "", false},
    {"RzBmpButton1", 26, 22, Style::Tool, "stop", "", false},
    {"btnSelectOutputFolder", 29, 26, Style::Tool, "folder", "", false},
    {"btnOptions", 87, 29, Style::Action, "gear", "Options", true},
    {"btnOpenFile", 108, 38, Style::Action, "add", "Add Files", false},
    {"btnRemoveFile", 108, 38, Style::Action, "remove", "Remove", false},
    {"btnClearFile", 108, 38, Style::Action, "clear", "Clear", false},
    {"btnConvert", 108, 60, Style::Primary, "convert", "Convert", false},
    {"btnStop", 108, 38, Style::Action, "stop", "Stop", false},
};

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// Glyph and label side by side, centred in `r`.
void GlyphAndLabel(QPainter& p, const ButtonSpec& b, const QRectF& r, const QColor& color, int glyphSize,
                   int textSize) {
    const QFont font = UiFont(textSize, true);
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(QString::fromUtf8(b.label));
    const qreal gap = 7;
    const qreal total = glyphSize + gap + textWidth;
    const qreal left = r.center().x() - total / 2;
    DrawGlyph(p, b.glyph, QRectF(left, r.center().y() - glyphSize / 2.0, glyphSize, glyphSize), color);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRectF(left + glyphSize + gap, r.top(), textWidth + 2, r.height()),
               Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(b.label));
}

QImage Draw(const ButtonSpec& b, State state) {
    QImage image = Blank(b.width, b.height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF full(0, 0, b.width, b.height);
    const qreal shift = state == State::Down ? 1 : 0;

    switch (b.style) {
    case Style::Action:
    case Style::Primary: {
        // Neighbouring buttons overlap by a few pixels: keep the face clear of the edges.
        const QRectF face = full.adjusted(1, 3, -1, -3);
        QColor top, bottom, border, ink = Look::Text;
        if (b.style == Style::Primary) {
            top = state == State::Hot ? QColor(0x6a, 0xa6, 0xff) : QColor(0x4a, 0x8f, 0xf7);
            bottom = state == State::Hot ? QColor(0x33, 0x74, 0xf0) : QColor(0x25, 0x63, 0xeb);
            if (state == State::Down) top = QColor(0x1d, 0x4e, 0xd8), bottom = QColor(0x25, 0x63, 0xeb);
            border = QColor(0x1a, 0x3f, 0xa8);
        } else if (state == State::Disabled) {
            top = bottom = QColor(0x2b, 0x32, 0x3c);
            border = QColor(0x38, 0x41, 0x4d);
            ink = QColor(0x6b, 0x76, 0x86);
        } else {
            top = state == State::Hot ? QColor(0x4a, 0x5c, 0x74) : QColor(0x3d, 0x4b, 0x5e);
            bottom = state == State::Hot ? QColor(0x37, 0x45, 0x58) : QColor(0x2e, 0x39, 0x48);
            if (state == State::Down) top = QColor(0x25, 0x2f, 0x3c), bottom = QColor(0x2e, 0x39, 0x48);
            border = state == State::Hot ? Look::Accent : QColor(0x55, 0x66, 0x7e);
        }
        p.setPen(QPen(border, 1));
        p.setBrush(Vertical(face, top, bottom));
        p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        if (state != State::Down && state != State::Disabled) {
            // A faint highlight along the top edge.
            p.setPen(QPen(QColor(255, 255, 255, 40), 1));
            p.drawLine(QPointF(face.left() + 5, face.top() + 1.5), QPointF(face.right() - 5, face.top() + 1.5));
        }
        const bool big = b.height >= 50;
        GlyphAndLabel(p, b, face.translated(shift, shift), ink, big ? 20 : 14, big ? 16 : 12);
        break;
    }
    case Style::Header: {
        const QRectF face = full.adjusted(1, 1, -1, -1);
        if (state == State::Hot) RoundedPanel(p, face, 6, QColor(255, 255, 255, 26), QColor(255, 255, 255, 50));
        if (state == State::Down) RoundedPanel(p, face, 6, QColor(0, 0, 0, 60), QColor(255, 255, 255, 30));
        const QColor ink = state == State::Up ? QColor(0xcf, 0xdb, 0xeb) : Look::Text;
        DrawGlyph(p, b.glyph, QRectF(14 + shift, 5 + shift, 20, 20), ink);
        p.setFont(UiFont(10));
        p.setPen(ink);
        p.drawText(QRectF(shift, 25 + shift, b.width, 14), Qt::AlignCenter, QString::fromUtf8(b.label));
        break;
    }
    case Style::Caption:
    case Style::CaptionClose: {
        const QRectF face = full.adjusted(2, 2, -2, -2);
        if (state != State::Up) {
            QColor fill = b.style == Style::CaptionClose ? Look::Danger : QColor(255, 255, 255, 36);
            if (state == State::Down) fill = fill.darker(130);
            RoundedPanel(p, face, 5, fill, Qt::transparent);
        }
        DrawGlyph(p, b.glyph, QRectF(8 + shift, 6 + shift, 15, 15), Look::Text);
        break;
    }
    case Style::Tool: {
        const QRectF face = full.adjusted(1, 1, -1, -1);
        QColor fill = state == State::Hot ? QColor(0x3d, 0x4b, 0x5e) : QColor(0x2a, 0x34, 0x42);
        if (state == State::Down) fill = QColor(0x1a, 0x22, 0x2c);
        RoundedPanel(p, face, 4, fill, state == State::Hot ? Look::Accent : QColor(0x4a, 0x59, 0x6e));
        const qreal g = qMin(b.width, b.height) - 9;
        DrawGlyph(p, b.glyph,
                  QRectF((b.width - g) / 2 + shift, (b.height - g) / 2 + shift, g, g),
                  state == State::Up ? QColor(0xcf, 0xdb, 0xeb) : Look::Text);
        break;
    }
    }
    return image;
}

} // namespace

void MakeButtons(PictureSink& sink) {
    for (const ButtonSpec& b : Buttons) {
        const QString base = QString::fromUtf8(b.name);
        sink.Save(base + "_up", Draw(b, State::Up));
        sink.Save(base + "_hot", Draw(b, State::Hot));
        sink.Save(base + "_down", Draw(b, State::Down));
        if (b.hasDisabled) sink.Save(base + "_disabled", Draw(b, State::Disabled));
    }
}
