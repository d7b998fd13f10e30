#include "TrimBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// One of the three strips; a click on it nudges a handle.
class TTrimArea : public QWidget {
  public:
    TTrimArea(TTrimBar* bar, int which) : QWidget(bar), Bar(bar), Which(which) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(rect(), Bar->AreaPicture(Which == 4));
    }
    // A double-click arrives here as a second press.
    void mousePressEvent(QMouseEvent* event) override {
        if (Which == 2)
            Bar->Panel2MouseDown(event->button(), event->modifiers());
        else if (Which == 4)
            Bar->Panel4MouseDown(event->button(), event->modifiers());
        else
            Bar->Panel3MouseDown(event->button(), event->modifiers());
    }

  private:
    TTrimBar* Bar;
    int Which;
};

// A handle: drawn from its picture, dragged with the left button.
class TTrimHandle : public QWidget {
  public:
    TTrimHandle(TTrimBar* bar, int which) : QWidget(bar), Bar(bar), Which(which) {
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QImage picture = Bar->HandlePicture(Which).convertToFormat(QImage::Format_ARGB32);
        const QRgb background = palette().color(QPalette::Window).rgb();
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                if ((line[x] & 0x00ffffff) == 0) line[x] = background;
        }
        painter.drawImage(rect(), picture);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) GrabX = int(event->position().x());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (GrabX < 0 || !(event->buttons() & Qt::LeftButton)) return;
        const int left = mapToParent(event->position().toPoint()).x() - GrabX;
        if (Which == 1)
            Bar->DragSplitter1To(left);
        else
            Bar->DragSplitter2To(left);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) GrabX = -1;
    }

  private:
    TTrimBar* Bar;
    int Which;
    int GrabX = -1;
};

QImage Strip(const QColor& light, const QColor& dark) {
    QImage image(4, TTrimBar::BarHeight - 2, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, image.height());
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    painter.fillRect(image.rect(), gradient);
    return image;
}

// Drawn handle pictures until the application's own are set: a bracket facing the kept part.
QImage DefaultHandle(bool start) {
    QImage image(18, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x4a, 0x5c));
    painter.drawRoundedRect(QRectF(3, 1, 12, 18), 3, 3);
    painter.setBrush(QColor(0xf0, 0xa0, 0x30));
    const qreal tip = start ? 12 : 6;
    const qreal base = start ? 7 : 11;
    painter.drawPolygon(QPolygonF({QPointF(base, 6), QPointF(tip, 10), QPointF(base, 14)}));
    return image;
}

} // namespace

int TrimNudgeStep(Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers keys =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (keys == Qt::ControlModifier) return 1;
    if (keys == Qt::ShiftModifier) return 10;
    return 5;
}

TTrimBar::TTrimBar(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    Panel2 = new TTrimArea(this, 2);
    Splitter1 = new TTrimHandle(this, 1);
    Panel4 = new TTrimArea(this, 4);
    Splitter2 = new TTrimHandle(this, 2);
    Panel3 = new TTrimArea(this, 3);
    ImgL = DefaultHandle(true);
    ImgR = DefaultHandle(false);
    SidePicture = Strip(QColor(0xe4, 0xe4, 0xe4), QColor(0xb8, 0xb8, 0xb8));
    MiddlePicture = Strip(QColor(0xff, 0xb8, 0x4d), QColor(0xe8, 0x7a, 0x10));
    resize(BarWidth, BarHeight);
    Relayout();
}

int TTrimBar::Panel4Width() const {
    return InnerWidth() - 2 * HandleWidth - LeftWidth - RightWidth;
}

int TTrimBar::MaxLeftWidth() const {
    return std::max(1, InnerWidth() - 2 * HandleWidth - 1 - RightWidth);
}

int TTrimBar::MaxRightWidth() const {
    return std::max(1, InnerWidth() - 2 * HandleWidth - 1 - LeftWidth);
}

void TTrimBar::SetPanel2Width(int width) {
    LeftWidth = std::clamp(width, 1, MaxLeftWidth());
    Relayout();
}

void TTrimBar::SetPanel3Width(int width) {
    RightWidth = std::clamp(width, 1, MaxRightWidth());
    Relayout();
}

void TTrimBar::SetPanelWidths(int panel2, int panel3) {
    const int room = std::max(2, InnerWidth() - 2 * HandleWidth - 1);
    LeftWidth = std::clamp(panel2, 1, room - 1);
    RightWidth = std::clamp(panel3, 1, room - LeftWidth);
    Relayout();
}

void TTrimBar::SetBarWidth(int width) {
    if (this->width() != width) resize(width, height());
}

void TTrimBar::DragSplitter1To(int x) {
    const int width = std::clamp(x - 1, 1, MaxLeftWidth());
    if (width == LeftWidth) return;
    LeftWidth = width;
    Relayout();
    emit Splitter1Moved();
}

void TTrimBar::DragSplitter2To(int x) {
    const int width = std::clamp(1 + InnerWidth() - HandleWidth - x, 1, MaxRightWidth());
    if (width == RightWidth) return;
    RightWidth = width;
    Relayout();
    emit Splitter2Moved();
}

void TTrimBar::Panel2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const int step = TrimNudgeStep(modifiers);
    if (button == Qt::LeftButton && Panel4Width() > step) {
        SetPanel2Width(LeftWidth + step);
        emit Splitter1Moved();
    } else if (button == Qt::RightButton && LeftWidth > step) {
        SetPanel2Width(LeftWidth - step);
        emit Splitter1Moved();
    }
}

void TTrimBar::Panel4MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const int step = TrimNudgeStep(modifiers);
    if (button == Qt::LeftButton && Panel4Width() > step) {
        SetPanel2Width(LeftWidth + step);
        emit Splitter1Moved();
    } else if (button == Qt::RightButton && Panel4Width() > step) {
        SetPanel3Width(RightWidth + step);
        emit Splitter2Moved();
    }
}

void TTrimBar::Panel3MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const int step = TrimNudgeStep(modifiers);
    if (button == Qt::RightButton && Panel4Width() > step) {
        SetPanel3Width(RightWidth + step);
        emit Splitter2Moved();
    } else if (button == Qt::LeftButton && RightWidth > step) {
        SetPanel3Width(RightWidth - step);
        emit Splitter2Moved();
    }
}

void TTrimBar::SetHandlePictures(const QImage& imgL, const QImage& imgR) {
    if (!imgL.isNull()) ImgL = imgL;
    if (!imgR.isNull()) ImgR = imgR;
    Splitter1->update();
    Splitter2->update();
}

void TTrimBar::SetAreaPictures(const QImage& side, const QImage& middle) {
    if (!side.isNull()) SidePicture = side;
    if (!middle.isNull()) MiddlePicture = middle;
    update();
}

void TTrimBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Relayout();
}

void TTrimBar::Relayout() {
    const int top = 1;
    const int h = height() - 2;
    Panel2->setGeometry(1, top, LeftWidth, h);
    Splitter1->setGeometry(L1(), top, HandleWidth, h);
    Panel4->setGeometry(L1() + HandleWidth, top, std::max(0, Panel4Width()), h);
    Splitter2->setGeometry(L2(), top, HandleWidth, h);
    Panel3->setGeometry(L2() + HandleWidth, top, RightWidth, h);
}
