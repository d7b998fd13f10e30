// A button drawn from pictures: up, hot (mouse over), down and, where given, disabled.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class TRzBmpButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit TRzBmpButton(QWidget* parent = nullptr);

    // The pictures carry the label; the text is kept for accessibility and for drawing without pictures.
    void SetPictures(const QPixmap& up, const QPixmap& hot, const QPixmap& down,
                     const QPixmap& disabled = QPixmap());
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

  private:
    QPixmap Up, Hot, Down, Disabled;
    bool MouseOver = false;
};
