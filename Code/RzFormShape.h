// TRzFormShape: the skin of a frameless window. It paints the skin picture over the whole window, shapes
// the window by the picture's transparent colour, and moves the window when its background is dragged.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <QWidget>

class TRzFormShape : public QWidget {
    Q_OBJECT
  public:
    // Pixels of this colour in a skin picture lie outside the window.
    static constexpr QRgb TransparentColor = 0xffff00ff;

    // Made on the window it shapes; it covers the window until the picture gives it its own size.
    explicit TRzFormShape(QWidget* window = nullptr);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return Skin; }

    // The window's outline: every pixel of the picture that is not of the transparent colour.
    QRegion Outline() const;
    // Shapes the window by Outline(); done once, when the window is first shown.
    void ApplyShape();

    // Starts moving the window with the mouse, which is down at this moment: the window manager's move
    // where there is one, else the skin follows the mouse itself until the button is released.
    void BeginWindowDrag();
    bool IsFollowingMouse() const { return Following; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPixmap Skin;
    bool Shaped = false;
    bool Following = false;
    QPoint PressGlobal, WindowStart;
};
