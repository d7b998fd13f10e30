#include "RzFormShape.h"

#include <QBitmap>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

TRzFormShape::TRzFormShape(QWidget* window) : QWidget(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!window) return;
    setGeometry(0, 0, window->width(), window->height());
    lower();
    // The shape must be set before the window first appears, so that no square corner ever flashes.
    window->installEventFilter(this);
}

void TRzFormShape::SetPicture(const QPixmap& picture) {
    Skin = picture;
    if (!Skin.isNull()) resize(Skin.deviceIndependentSize().toSize());
    update();
}

QRegion TRzFormShape::Outline() const {
    if (Skin.isNull()) return QRegion(rect());
    const QImage image = Skin.toImage().convertToFormat(QImage::Format_RGB32);
    return QRegion(QBitmap::fromImage(image.createMaskFromColor(TransparentColor, Qt::MaskInColor)));
}

void TRzFormShape::ApplyShape() {
    if (Shaped || Skin.isNull()) return;
    Shaped = true;
    window()->setMask(Outline());
}

bool TRzFormShape::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Show) ApplyShape();
    return QWidget::eventFilter(watched, event);
}

void TRzFormShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Skin.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.drawPixmap(0, 0, Skin);
}

void TRzFormShape::BeginWindowDrag() {
    QWidget* w = window();
    if (w->windowHandle() && w->windowHandle()->startSystemMove()) return;
    // No window manager to move us: follow the mouse until the button is released.
    Following = true;
    PressGlobal = QCursor::pos();
    WindowStart = w->pos();
    grabMouse();
}

void TRzFormShape::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        BeginWindowDrag();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TRzFormShape::mouseMoveEvent(QMouseEvent* event) {
    if (Following && (event->buttons() & Qt::LeftButton)) {
        window()->move(WindowStart + (event->globalPosition().toPoint() - PressGlobal));
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void TRzFormShape::mouseReleaseEvent(QMouseEvent* event) {
    if (Following && event->button() == Qt::LeftButton) {
        Following = false;
        releaseMouse();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
