#include "Unit_Converting.h"

#include "Application.h"

#include "AdvanceSystem.h"
#include "RzBmpButton.h"
#include "UnitCustomProc.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QWindow>

TfrmConverting* frmConverting = nullptr;

namespace {

constexpr int kWidth = 435;
constexpr int kHeight = 222;
constexpr int kSkinHeight = 205;
constexpr QRgb kTransparentColor = 0xffff00ff;

QPixmap LoadPicture(const char* name) {
    QPixmap picture;
    const QString path = QString::fromStdString(TAppFunc().GetAppDir()) + QStringLiteral("Pictures/") +
                         QString::fromUtf8(name) + QStringLiteral(".png");
    if (QFileInfo::exists(path)) picture.load(path);
    return picture;
}

// A caption placed where a narrow 8-point font fitted it: with a wider font it is made smaller until it
// ends before the control beside it.
QLabel* Caption(QWidget* parent, const char* text, int left, int top, int room) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->move(left, top);
    QFont font = label->font();
    for (int size = font.pixelSize(); size > 8 && QFontMetrics(font).horizontalAdvance(label->text()) > room;)
        font.setPixelSize(--size);
    label->setFont(font);
    label->adjustSize();
    return label;
}

template <typename T> T* Place(QWidget* parent, int left, int top, int width, int height) {
    T* widget = new T(parent);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// The row count of the main window's source list, or 0 when there is none.
int32_t SourceRowCount() {
    return FrmMainForm && FrmMainForm->dxTreeSourceFileInfo
               ? FrmMainForm->dxTreeSourceFileInfo->topLevelItemCount()
               : 0;
}

QString StatusDisplayText(const std::string& text) {
    // One line in the bar: carriage returns and line ends show as blanks.
    QString display = QString::fromStdString(text);
    for (QChar& c : display)
        if (c.unicode() < 32) c = QLatin1Char(' ');
    return display;
}

} // namespace

// --- TProgressBar ---

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    State = {0, 100, 0};
    Show();
}

void TProgressBar::SetMin(int32_t min) {
    State.SetMin(min);
    Show();
}

void TProgressBar::SetMax(int32_t max) {
    State.SetMax(max);
    Show();
}

void TProgressBar::SetPosition(int64_t position) {
    State.SetPosition(position);
    Show();
}

void TProgressBar::SetBar(const TBarState& bar) {
    State = {bar.Min, bar.Min, bar.Min};
    State.SetMax(bar.Max);
    State.SetPosition(bar.Position);
    Show();
}

void TProgressBar::Show() {
    // An empty range would make the bar run its busy animation; it shows an empty bar instead.
    if (State.Max == State.Min) {
        setRange(0, 1);
        setValue(0);
    } else {
        setRange(State.Min, State.Max);
        setValue(State.Position);
    }
}

// --- TConvertingSkin ---

TConvertingSkin::TConvertingSkin(QWidget* parent) : QWidget(parent) {}

void TConvertingSkin::SetPicture(const QPixmap& picture) {
    Skin = picture;
    update();
}

void TConvertingSkin::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!Skin.isNull()) {
        painter.drawPixmap(0, 0, Skin);
        return;
    }
    // The drawn skin: a dark blue title band over a calm grey body, with a thin outline.
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, 0.5);
    QPainterPath shape;
    shape.addRoundedRect(outline.adjusted(0, 0, 0, 10), 10, 10);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor(0xe9, 0xed, 0xf2));
    body.setColorAt(1, QColor(0xd3, 0xd9, 0xe1));
    painter.fillPath(shape, body);
    QPainterPath band;
    band.addRect(QRectF(0, 0, width(), 36));
    QLinearGradient title(0, 0, 0, 36);
    title.setColorAt(0, QColor(0x2b, 0x4a, 0x73));
    title.setColorAt(1, QColor(0x1b, 0x31, 0x52));
    painter.fillPath(shape.intersected(band), title);
    painter.setPen(QPen(QColor(0x16, 0x28, 0x44), 1));
    painter.drawPath(shape);
    painter.setPen(Qt::white);
    QFont font = this->font();
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.drawText(QRect(16, 0, width() - 32, 36), Qt::AlignVCenter | Qt::AlignLeft,
                     window()->windowTitle());
}

void TConvertingSkin::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window()->windowHandle()) {
        window()->windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

// --- TfrmConverting ---

TfrmConverting::TfrmConverting(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    frmConverting = this;
    setWindowTitle(QStringLiteral("Converting"));
    setFixedSize(kWidth, kHeight);
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    rzfrmshpConvertting = Place<TConvertingSkin>(this, 0, 0, kWidth, kSkinHeight);
    lblInfo = Place<QLabel>(this, 24, 45, 185, 20);
    lblInfo->setText(QStringLiteral("Please wait . . ."));
    QFont bold = lblInfo->font();
    bold.setBold(true);
    lblInfo->setFont(bold);
    lblCurConvertFileL = Caption(this, "Current Convert File:", 88, 65, 100);
    lblCurFileName = Place<QLabel>(this, 192, 64, 217, 13);
    lblCurFileName->setTextFormat(Qt::PlainText);
    lblTotalFilr = Caption(this, "Total File:", 24, 88, 60);
    pbTotal = Place<TProgressBar>(this, 88, 88, 321, 17);
    lblCurprog = Caption(this, "Current File:", 24, 114, 60);
    ProgressBar1 = Place<TProgressBar>(this, 88, 112, 321, 17);
    lblPersent = Caption(this, "Current: 1, Total: ...", 88, 144, 200);
    // The three captions beside the bars read as one set: all in the smallest size any of them needed.
    QFont captions = lblCurConvertFileL->font();
    for (QLabel* label : {lblTotalFilr, lblCurprog})
        if (label->font().pixelSize() < captions.pixelSize()) captions = label->font();
    for (QLabel* label : {lblCurConvertFileL, lblTotalFilr, lblCurprog}) {
        label->setFont(captions);
        label->adjustSize();
    }
    btnStop = Place<TRzBmpButton>(this, 296, 144, 108, 38);
    btnStop->setText(QStringLiteral("Stop"));
    btnStop->setToolTip(QStringLiteral("Stop"));

    statState = Place<QStatusBar>(this, 0, kSkinHeight, kWidth, kHeight - kSkinHeight);
    statState->setSizeGripEnabled(false);
    // Below the skin the window has no picture of its own: give the encoder's line a ground to sit on.
    statState->setStyleSheet(QStringLiteral(
        "QStatusBar { background: #1a2230; border-top: 1px solid #2c3a50; } QLabel { color: #9fb0c8; }"));
    StatusPanel = new QLabel(statState);
    StatusPanel->setTextFormat(Qt::PlainText);
    statState->addWidget(StatusPanel, 1);

    btnStop->SetPictures(LoadPicture("btnStop_up"), LoadPicture("btnStop_hot"), LoadPicture("btnStop_down"));
    SetSkin(LoadPicture("rzfrmshpConvertting"));

    actRefreshProgress = new QAction(this);
    connect(actRefreshProgress, &QAction::triggered, this, &TfrmConverting::actRefreshProgressExecute);
    connect(btnStop, &QAbstractButton::clicked, this, &TfrmConverting::btnStop1Click);
}

TfrmConverting::~TfrmConverting() {
    if (frmConverting == this) frmConverting = nullptr;
}

void TfrmConverting::SetStatusPanelText(const std::string& text) {
    StatusText = text;
    StatusPanel->setText(StatusDisplayText(text));
}

void TfrmConverting::SetSkin(const QPixmap& picture) {
    rzfrmshpConvertting->SetPicture(picture);
    ApplyShape();
}

void TfrmConverting::ApplyShape() {
    const QPixmap& skin = rzfrmshpConvertting->Picture();
    QRegion shape;
    if (skin.isNull()) {
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, kWidth, kHeight + 10), 10, 10);
        shape = QRegion(path.toFillPolygon().toPolygon());
    } else {
        // Row by row, the runs of pixels that are neither transparent nor of the transparent colour.
        const QImage image = skin.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width();) {
                const auto inside = [&](int at) {
                    return qAlpha(line[at]) >= 128 && (line[at] | 0xff000000) != kTransparentColor;
                };
                if (!inside(x)) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < image.width() && inside(end))
                    ++end;
                shape += QRect(x, y, end - x, 1);
                x = end;
            }
        }
    }
    // The status bar below the skin stays whole.
    shape += QRect(0, kSkinHeight, kWidth, kHeight - kSkinHeight);
    setMask(shape.intersected(QRect(0, 0, kWidth, kHeight)));
}

void TfrmConverting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!Centred) {
        // Centred on the desktop when it first appears; after that it stays where the user put it.
        Centred = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    FormShow();
}

void TfrmConverting::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyShape();
}

void TfrmConverting::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TfrmConverting::FormShow() {
    lblCurFileName->setText(
        QString::fromStdString(CommonLib ? CommonLib->ConvertParams.SourceFile : std::string()));
    lblPersent->setText(QStringLiteral("Current: 1, Total: ") +
                        QString::number(CustomProc ? CustomProc->RowCount : 0));
    lblPersent->adjustSize();
    ProgressBar1->SetMax(1);
    ProgressBar1->SetPosition(0);
    pbTotal->SetMax(1);
    pbTotal->SetPosition(0);
}

void TfrmConverting::actRefreshProgressExecute() {
    if (!CustomProc || !CommonLib) return;
    TProgressView view{ProgressBar1->Bar(), pbTotal->Bar(), lblPersent->text().toStdString()};
    const TProgressInput input{CustomProc->CurrentRow, CustomProc->RowCount, CustomProc->CutSecondsText,
                               CommonLib->ConvertParams.CodecArg, StatusText};
    RefreshProgress(view, CustomProc->OutputChunkCount, input);
    pbTotal->SetBar(view.Total);
    ProgressBar1->SetBar(view.Current);
    if (lblPersent->text().toStdString() != view.CountLine) {
        lblPersent->setText(QString::fromStdString(view.CountLine));
        lblPersent->adjustSize();
    }
}

void TfrmConverting::StopBatch() {
    hide();
    if (FrmMainForm) FrmMainForm->setEnabled(true);
    if (CustomProc) {
        CustomProc->CurrentRow = SourceRowCount();
        CustomProc->StopRequested = true;
    }
}

void TfrmConverting::btnStop1Click() {
    if (!AskYesNo("Are you sure you want to stop the work ? ")) return;
    StopBatch();
    if (CommonLib) {
        CommonLib->StopEncoder(CommonLib->ConvertParams.EncoderPath);
        CommonLib->StopEncoder(CommonLib->EncoderName);
    }
    ProgressBar1->SetPosition(0);
    pbTotal->SetMax(0);
    pbTotal->SetPosition(0);
    lblPersent->setText(QStringLiteral("Current: 1, Total: ..."));
    lblPersent->adjustSize();
}

void TfrmConverting::FormClose() {
    if (!AskYesNo("Are you sure to stop processing ?")) return;
    StopBatch();
    if (CommonLib) CommonLib->StopEncoder(CommonLib->ConvertParams.EncoderPath);
}

void OnEncoderOutput(const std::string& chunk) {
    ProcessMessages();
    if (!frmConverting) return;
    frmConverting->SetStatusPanelText(chunk);
    frmConverting->lblCurFileName->setText(
        QString::fromStdString(CommonLib ? CommonLib->ConvertParams.SourceFile : std::string()));
    frmConverting->actRefreshProgress->trigger();
}

bool AskYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle,
                    QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}
