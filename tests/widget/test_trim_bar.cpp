// The trim bar on its own: geometry limits, dragging, nudges and the handle pictures.
#include "PreviewState.h"
#include "TrimBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(TrimBar, StartsWithTheWholeFileMarkedAndKeepsEveryAreaVisible) {
    TTrimBar bar;
    EXPECT_EQ(bar.width(), 260);
    EXPECT_EQ(bar.L1(), 2);
    EXPECT_EQ(bar.L2(), 238);
    EXPECT_EQ(bar.Panel4Width(), 216);

    bar.DragSplitter1To(1000);
    EXPECT_EQ(bar.L1(), 217);
    EXPECT_EQ(bar.Panel4Width(), 1);
    bar.DragSplitter2To(0);
    EXPECT_EQ(bar.L2(), 238);
    bar.DragSplitter1To(-5);
    bar.DragSplitter2To(0);
    EXPECT_EQ(bar.L1(), 2);
    EXPECT_EQ(bar.L2(), 23);
    EXPECT_EQ(bar.Panel4Width(), 1);
    // The child areas follow the widths.
    EXPECT_EQ(bar.Splitter1->geometry(), QRect(2, 1, 20, 19));
    EXPECT_EQ(bar.Splitter2->geometry(), QRect(23, 1, 20, 19));
    EXPECT_EQ(bar.Panel3->geometry().right(), 258);
}

TEST(TrimBar, DraggingAHandleSignalsEveryChangeOfPosition) {
    TTrimBar bar;
    bar.show();
    QSignalSpy moved(&bar, &TTrimBar::Splitter1Moved);
    SendMouse(bar.Splitter1, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    // The pointer's x on the bar; the handle moves under it.
    for (int x : {10, 14, 14, 42, 1000})
        SendMouse(bar.Splitter1, QEvent::MouseMove, QPoint(x - bar.Splitter1->x(), 5), Qt::NoButton,
                  Qt::LeftButton);
    SendMouse(bar.Splitter1, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    // The handle keeps the grabbed point under the pointer; the repeated point changes nothing.
    EXPECT_EQ(moved.count(), 4);
    EXPECT_EQ(bar.L1(), 217);
    SendMouse(bar.Splitter1, QEvent::MouseMove, QPoint(-300, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(bar.L1(), 217);
}

TEST(TrimBar, ClicksOnTheAreasNudgeTheHandles) {
    struct Case {
        const char* what;
        int area; // 2, 4 or 3
        Qt::MouseButton button;
        Qt::KeyboardModifiers keys;
        int panel2, panel3;       // before
        int l1Change, l2Change;   // after
        int startMoves, endMoves; // signals
    } cases[] = {
        {"left on Panel2", 2, Qt::LeftButton, Qt::NoModifier, 50, 50, 5, 0, 1, 0},
        {"Ctrl+right on Panel2", 2, Qt::RightButton, Qt::ControlModifier, 50, 50, -1, 0, 1, 0},
        {"right on Panel2 narrower than the step", 2, Qt::RightButton, Qt::NoModifier, 5, 50, 0, 0, 0, 0},
        {"left on Panel4", 4, Qt::LeftButton, Qt::AltModifier, 50, 50, 5, 0, 1, 0},
        {"right on Panel4", 4, Qt::RightButton, Qt::ShiftModifier, 50, 50, 0, -10, 0, 1},
        {"left on a narrow Panel4", 4, Qt::LeftButton, Qt::NoModifier, 110, 103, 0, 0, 0, 0},
        {"Shift+left on Panel3", 3, Qt::LeftButton, Qt::ShiftModifier, 50, 50, 0, 10, 0, 1},
        {"Ctrl+Shift+right on Panel3", 3, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier, 50, 50, 0,
         -5, 0, 1},
        {"left on Panel3 narrower than the step", 3, Qt::LeftButton, Qt::ShiftModifier, 50, 10, 0, 0, 0, 0},
        {"middle button", 4, Qt::MiddleButton, Qt::NoModifier, 50, 50, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTrimBar bar;
        bar.SetPanelWidths(c.panel2, c.panel3);
        const int l1 = bar.L1(), l2 = bar.L2();
        QSignalSpy starts(&bar, &TTrimBar::Splitter1Moved);
        QSignalSpy ends(&bar, &TTrimBar::Splitter2Moved);
        QWidget* area = c.area == 2 ? bar.Panel2 : c.area == 4 ? bar.Panel4 : bar.Panel3;
        QTest::mouseClick(area, c.button, c.keys, QPoint(0, 3));
        EXPECT_EQ(bar.L1() - l1, c.l1Change);
        EXPECT_EQ(bar.L2() - l2, c.l2Change);
        EXPECT_EQ(starts.count(), c.startMoves);
        EXPECT_EQ(ends.count(), c.endMoves);
    }
}

TEST(TrimBar, HandlesShowTheirBackgroundWhereTheirPictureIsBlack) {
    TTrimBar bar;
    QImage picture(18, 20, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(9, 10, qRgb(255, 0, 0));
    bar.SetHandlePictures(picture, picture);
    QPalette colours = bar.Splitter1->palette();
    colours.setColor(QPalette::Window, QColor(10, 200, 30));
    bar.Splitter1->setPalette(colours);
    const QImage shown = bar.Splitter1->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(10, 200, 30));
    EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() - 2), QColor(10, 200, 30));
}

TEST(TrimArithmetic, HandlePositionsAndRowTimesMapBothWays) {
    // Handle edges to seconds: percent steps of (L1 - 2) * 121 / 260 and (L2 - 22) * 121 / 260.
    struct Seconds {
        int edge;
        int32_t duration, seconds;
    } starts[] = {{2, 200, 0}, {23, 200, 18}, {110, 200, 100}, {217, 200, 200}, {110, 0, 0}, {217, 3, 3}},
      ends[] = {{23, 200, 0}, {110, 200, 80}, {130, 200, 100}, {238, 200, 200}, {217, 3, 2}, {130, 0, 0}};
    for (const Seconds& s : starts)
        EXPECT_EQ(TrimStartSeconds(s.edge, s.duration), s.seconds) << s.edge;
    for (const Seconds& s : ends)
        EXPECT_EQ(TrimEndSeconds(s.edge, s.duration), s.seconds) << s.edge;

    // Row times to side widths over 218 pixels, halves rounded to the even neighbour.
    struct Widths {
        int32_t start, end, duration;
        int panel2, panel3;
    } widths[] = {
        {30, 90, 120, 55, 55}, // 54.5 and 163.5
        {3, 1, 4, 165, 165},   // 163.5 and 54.5
        {0, 120, 120, 1, 1},   // the whole file
        {5, 7, 8, 137, 28},    // 136.25 and 190.75
    };
    for (const Widths& w : widths) {
        SCOPED_TRACE(std::to_string(w.start) + "-" + std::to_string(w.end));
        EXPECT_EQ(TrimPanel2Width(w.start, w.duration), w.panel2);
        EXPECT_EQ(TrimPanel3Width(w.end, w.duration), w.panel3);
    }
}
