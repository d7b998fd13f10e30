// TTrimBar: the strip under the preview with a start and an end handle that mark the part of a file to
// convert.
//
// From left to right inside a 1-pixel border: Panel2 (grey), Splitter1 (start handle), Panel4 (orange, the
// part kept), Splitter2 (end handle), Panel3 (grey). Every area is at least 1 pixel wide; the handles are
// HandleWidth wide. L1 and L2 are the x of the handles' left edges, measured from the bar's outer left edge.
#pragma once

#include <QFrame>
#include <QImage>

class TTrimBar : public QFrame {
    Q_OBJECT
  public:
    static constexpr int BarWidth = 260;
    static constexpr int BarHeight = 21;
    static constexpr int HandleWidth = 20;

    explicit TTrimBar(QWidget* parent = nullptr);

    QWidget* Panel2 = nullptr;
    QWidget* Splitter1 = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Splitter2 = nullptr;
    QWidget* Panel3 = nullptr;

    int Panel2Width() const { return LeftWidth; }
    int Panel3Width() const { return RightWidth; }
    int Panel4Width() const;
    int L1() const { return 1 + LeftWidth; }
    int L2() const { return 1 + InnerWidth() - HandleWidth - RightWidth; }

    // Set from code: kept within the bar, no moved signal.
    void SetPanel2Width(int width);
    void SetPanel3Width(int width);
    // Both at once, so that the first does not squeeze the second out of the bar.
    void SetPanelWidths(int panel2, int panel3);
    void SetBarWidth(int width);

    // What a drag of a handle does: puts its left edge at x (within the limits), signalling every change.
    void DragSplitter1To(int x);
    void DragSplitter2To(int x);

    // Clicks on the areas nudge a handle: Ctrl 1 pixel, Shift 10, otherwise 5; left button right, right left.
    void Panel2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Panel4MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Panel3MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

    // Handle pictures (imgL, imgR); their black pixels show the handle's background.
    void SetHandlePictures(const QImage& imgL, const QImage& imgR);
    // Pictures stretched over the grey side areas and the orange middle.
    void SetAreaPictures(const QImage& side, const QImage& middle);
    const QImage& HandlePicture(int handle) const { return handle == 1 ? ImgL : ImgR; }
    const QImage& AreaPicture(bool middle) const { return middle ? MiddlePicture : SidePicture; }

  signals:
    void Splitter1Moved();
    void Splitter2Moved();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int InnerWidth() const { return width() - 2; }
    int MaxLeftWidth() const;
    int MaxRightWidth() const;
    void Relayout();

    int LeftWidth = 1;
    int RightWidth = 1;
    QImage ImgL, ImgR, SidePicture, MiddlePicture;
};

// Step of a nudge for the keys held with the click.
int TrimNudgeStep(Qt::KeyboardModifiers modifiers);
