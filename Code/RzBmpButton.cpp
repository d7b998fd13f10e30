#include "RzBmpButton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

TRzBmpButton::TRzBmpButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void TRzBmpButton::SetPictures(const QPixmap& up, const QPixmap& hot, const QPixmap& down,
                               const QPixmap& disabled) {
    Up = up;
    Hot = hot;
    Down = down;
    Disabled = disabled;
    update();
}

QSize TRzBmpButton::sizeHint() const { return Up.isNull() ? QSize(80, 26) : Up.deviceIndependentSize().toSize(); }

void TRzBmpButton::enterEvent(QEnterEvent* event) {
    MouseOver = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TRzBmpButton::leaveEvent(QEvent* event) {
    MouseOver = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TRzBmpButton::paintEvent(QPaintEvent*) {
    const QPixmap* picture = &Up;
    if (!isEnabled() && !Disabled.isNull()) picture = &Disabled;
    else if (isDown() && !Down.isNull()) picture = &Down;
    else if (MouseOver && isEnabled() && !Hot.isNull()) picture = &Hot;
    if (!picture->isNull()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), *picture);
        return;
    }
    // No pictures yet: an ordinary push button with the label.
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    option.icon = icon();
    option.iconSize = iconSize();
    if (isDown()) option.state |= QStyle::State_Sunken;
    painter.drawControl(QStyle::CE_PushButton, option);
}
