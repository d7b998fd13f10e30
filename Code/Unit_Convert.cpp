#include "Unit_Convert.h"

#include "AppObjects.h"
#include "RzBmpButton.h"
#include "SourceTreeList.h"
#include "TrimBar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>

TFrmMainForm* FrmMainForm = nullptr;

namespace {

template <typename T> T* Place(QWidget* parent, int left, int top, int width, int height) {
    T* widget = new T(parent);
    widget->setGeometry(left, top, width, height);
    return widget;
}

TRzBmpButton* Button(QWidget* parent, const char* label, int left, int top, int width, int height) {
    auto* button = Place<TRzBmpButton>(parent, left, top, width, height);
    button->setText(QString::fromUtf8(label));
    button->setToolTip(QString::fromUtf8(label));
    return button;
}

QLabel* Caption(QWidget* parent, const char* text, int left, int top) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TFrmMainForm::TFrmMainForm(QWidget* parent) : QWidget(parent) {
    FrmMainForm = this;
    setWindowTitle(QStringLiteral("Vantorel"));
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);
    resize(719, 511);
    CreateControls();
    ConnectHandlers();
    FormCreate();
}

TFrmMainForm::~TFrmMainForm() {
    if (FrmMainForm == this) FrmMainForm = nullptr;
}

void TFrmMainForm::CreateControls() {
    lblTitle = Place<QLabel>(this, 168, 11, 433, 24);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(15);
    lblTitle->setFont(titleFont);
    btnWindowMinimize = Button(this, "Minimize", 614, 8, 31, 27);
    btnWindowClose = Button(this, "Close", 648, 8, 31, 27);
    btnHomePage = Button(this, "Home page", 406, 63, 48, 41);
    btnEMail = Button(this, "E-mail", 462, 63, 48, 41);
    btnHelp = Button(this, "Help", 574, 63, 48, 41);
    btnAbout = Button(this, "About", 630, 63, 48, 41);

    pnlMediaView = Place<QFrame>(this, 14, 115, 260, 158);
    pnlMediaView->setFrameShape(QFrame::Box);
    DSVideoWindowEx1 = Place<QWidget>(pnlMediaView, 1, 1, 258, 156);
    DSVideoWindowEx1->setAttribute(Qt::WA_NativeWindow);
    DSVideoWindowEx1->setStyleSheet(QStringLiteral("background: black"));
    DSVideoWindowEx1->hide();
    panLogo = Place<QWidget>(pnlMediaView, 1, 1, 258, 156);
    imgLOGO = Place<QLabel>(panLogo, 0, 0, 258, 156);
    imgLOGO->setAlignment(Qt::AlignCenter);
    Panel1 = Place<TTrimBar>(this, 15, 274, 260, 21);
    pbPlayState = Place<QProgressBar>(this, 15, 294, 260, 10);
    pbPlayState->setTextVisible(false);
    pbPlayState->setRange(0, 100);
    pbPlayState->setValue(0);
    imgPlay = Place<QLabel>(this, 16, 304, 257, 33);
    btnPlay = Button(this, "Play", 49, 307, 26, 22);
    btnPause = Button(this, "Pause", 81, 307, 26, 22);
    RzBmpButton1 = Button(this, "Stop", 112, 307, 26, 22);
    pnlCurTime = Place<QLabel>(this, 147, 309, 81, 17);
    pnlCurTime->setText(QStringLiteral("00:00:00"));
    pnlCurTime->setAlignment(Qt::AlignCenter);
    pnlCurTime->setAutoFillBackground(true);
    QPalette timePalette = pnlCurTime->palette();
    timePalette.setColor(QPalette::Window, Qt::black);
    timePalette.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    pnlCurTime->setPalette(timePalette);

    lblOutputFileTypeName = Caption(this, "Output FileType:", 288, 130);
    cbbOutputFiletype = Place<QComboBox>(this, 368, 127, 304, 21);
    lblProfileSettings = Caption(this, "Profile Settings:", 288, 158);
    cbbProfile = Place<QComboBox>(this, 368, 154, 304, 21);
    lblOutputFolderInfo = Caption(this, "Output Folder:", 288, 185);
    edtOutputFolder = Place<QLineEdit>(this, 368, 182, 264, 21);
    edtOutputFolder->setReadOnly(true);
    btnSelectOutputFolder = Button(this, "Select output folder", 643, 180, 29, 26);
    chkShutdown = Place<QCheckBox>(this, 288, 215, 270, 17);
    chkShutdown->setText(QStringLiteral("Shutdown computer when job is finished."));
    chkShutdown->setChecked(false);
    btnOptions = Button(this, "Options", 595, 216, 87, 29);
    chkShowOutputDirectory = Place<QCheckBox>(this, 288, 240, 262, 17);
    chkShowOutputDirectory->setText(QStringLiteral("Show output directory when done"));
    chkShowOutputDirectory->setChecked(true);

    dxTreeSourceFileInfo = Place<TSourceTreeList>(this, 12, 336, 557, 158);
    btnOpenFile = Button(this, "Add", 576, 332, 108, 38);
    btnRemoveFile = Button(this, "Remove", 576, 367, 108, 38);
    btnClearFile = Button(this, "Clear", 576, 403, 108, 38);
    btnConvert = Button(this, "Convert", 576, 438, 108, 60);

    CreatePreviewObjects();

    tmrClearMemory = new QTimer(this);
    tmrClearMemory->setInterval(1000);
}

void TFrmMainForm::ConnectHandlers() {
    connect(btnWindowMinimize, &QAbstractButton::clicked, this, &TFrmMainForm::actMinimizeExecute);
    connect(btnWindowClose, &QAbstractButton::clicked, this, &TFrmMainForm::actCloseWindowExecute);
    connect(btnHomePage, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysHomePageExecute);
    connect(btnEMail, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysEmailExecute);
    connect(btnHelp, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysHelpExecute);
    connect(btnAbout, &QAbstractButton::clicked, this, &TFrmMainForm::ActSysAboutExecute);
    connect(btnSelectOutputFolder, &QAbstractButton::clicked, this, &TFrmMainForm::btnSelectOutputFolderClick);
    // Only the user's choice applies a preset: selecting from code must not.
    connect(cbbOutputFiletype, &QComboBox::activated, this, &TFrmMainForm::cbbOutputFiletypeChange);
    connect(cbbProfile, &QComboBox::activated, this, &TFrmMainForm::cbbProfileChange);
    connect(btnOptions, &QAbstractButton::clicked, this, &TFrmMainForm::btnOptionsClick);
    connect(btnConvert, &QAbstractButton::clicked, this, &TFrmMainForm::btnConvertClick);
    connect(tmrClearMemory, &QTimer::timeout, this, &TFrmMainForm::tmrClearMemoryTimer);
    connect(btnOpenFile, &QAbstractButton::clicked, this, &TFrmMainForm::btnOpenFileClick);
    connect(btnRemoveFile, &QAbstractButton::clicked, this, &TFrmMainForm::btnRemoveFileClick);
    connect(btnClearFile, &QAbstractButton::clicked, this, &TFrmMainForm::btnClearFileClick);
    connect(btnPlay, &QAbstractButton::clicked, this, &TFrmMainForm::btnPlayClick);
    connect(btnPause, &QAbstractButton::clicked, this, &TFrmMainForm::btnPauseClick);
    connect(RzBmpButton1, &QAbstractButton::clicked, this, &TFrmMainForm::RzBmpButton1Click);
}

void TFrmMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!Shown) {
        Shown = true;
        FormShow();
    }
}

void TFrmMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TFrmMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

// --- Window and start-up handlers ---

void TFrmMainForm::FormCreate() {
    CreateAppObjects();
    tmrClearMemory->start();
}

void TFrmMainForm::FormShow() {}

void TFrmMainForm::FormResize() { setMinimumSize(686, 519); }

void TFrmMainForm::FormClose() {}

void TFrmMainForm::actMinimizeExecute() { showMinimized(); }

void TFrmMainForm::actCloseWindowExecute() { close(); }

void TFrmMainForm::lblTitleMouseMove() {}

void TFrmMainForm::ActSysHomePageExecute() {}

void TFrmMainForm::ActSysEmailExecute() {}

void TFrmMainForm::ActSysHelpExecute() {}

void TFrmMainForm::ActSysAboutExecute() {}

void TFrmMainForm::btnSelectOutputFolderClick() {}
