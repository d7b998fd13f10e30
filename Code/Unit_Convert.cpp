#include "Unit_Convert.h"

#include "AppObjects.h"
#include "Application.h"
#include "CompanionApi.h"
#include "CompanionLibrary.h"
#include "FlashForm.h"
#include "RzBmpButton.h"
#include "RzFormShape.h"
#include "ShellActions.h"
#include "SkinPictures.h"
#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"


#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
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
    Panel1 = Place<QWidget>(this, 15, 274, 260, 21);
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

    dxTreeSourceFileInfo = Place<QTreeWidget>(this, 12, 336, 557, 158);
    btnOpenFile = Button(this, "Add", 576, 332, 108, 38);
    btnRemoveFile = Button(this, "Remove", 576, 367, 108, 38);
    btnClearFile = Button(this, "Clear", 576, 403, 108, 38);
    btnConvert = Button(this, "Convert", 576, 438, 108, 60);

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
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
        // A broken splash picture goes to the error report; the window still opens and works.
        try {
            FormShow();
        } catch (const std::exception& error) {
            ShowErrorReport(error);
        }
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

bool TFrmMainForm::StartupChecks = false;
bool TFrmMainForm::StartupSplash = false;

namespace {

// Pictures for every picture button, the skin, the logo, the player strip; colours for the rest.
void ApplySkin(TFrmMainForm* form) {
    form->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    form->setWindowIcon(QIcon(SkinPicturePath(QStringLiteral("vantorel"))));
    form->rzfrmshpfrmConverter = new TRzFormShape(form);
    form->rzfrmshpfrmConverter->setObjectName(QStringLiteral("rzfrmshpfrmConverter"));
    form->rzfrmshpfrmConverter->SetPicture(LoadSkinPicture(QStringLiteral("rzfrmshpfrmConverter")));

    const std::pair<TRzBmpButton*, const char*> buttons[] = {
        {form->btnWindowMinimize, "btnWindowMinimize"},
        {form->btnWindowClose, "btnWindowClose"},
        {form->btnHomePage, "btnHomePage"},
        {form->btnEMail, "btnEMail"},
        {form->btnHelp, "btnHelp"},
        {form->btnAbout, "btnAbout"},
        {form->btnPlay, "btnPlay"},
        {form->btnPause, "btnPause"},
        {form->RzBmpButton1, "RzBmpButton1"},
        {form->btnSelectOutputFolder, "btnSelectOutputFolder"},
        {form->btnOptions, "btnOptions"},
        {form->btnOpenFile, "btnOpenFile"},
        {form->btnRemoveFile, "btnRemoveFile"},
        {form->btnClearFile, "btnClearFile"},
        {form->btnConvert, "btnConvert"},
    };
    for (const auto& [button, name] : buttons) {
        button->setObjectName(QString::fromLatin1(name));
        LoadButtonPictures(button, QString::fromLatin1(name));
    }

    form->imgLOGO->setPixmap(LoadSkinPicture(QStringLiteral("imgLOGO")));
    form->imgPlay->setPixmap(LoadSkinPicture(QStringLiteral("imgPlay")));
    form->pnlMediaView->setFrameShape(QFrame::Box);
    QPalette framePalette = form->pnlMediaView->palette();
    framePalette.setColor(QPalette::WindowText, QColor(0x3a, 0x47, 0x5a));
    form->pnlMediaView->setPalette(framePalette);

    QPalette titlePalette = form->lblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0xf2, 0xf6, 0xfb));
    form->lblTitle->setPalette(titlePalette);
    form->lblTitle->setObjectName(QStringLiteral("lblTitle"));
    form->lblTitle->installEventFilter(form);

    // Field captions in a narrower face, so that each ends before its field begins.
    QFont captionFont(QStringLiteral("DejaVu Sans Condensed"));
    captionFont.setPixelSize(10);
    for (QLabel* caption : {form->lblOutputFileTypeName, form->lblProfileSettings, form->lblOutputFolderInfo}) {
        caption->setFont(captionFont);
        caption->adjustSize();
        QPalette captionPalette = caption->palette();
        captionPalette.setColor(QPalette::WindowText, QColor(0xb4, 0xc2, 0xd4));
        caption->setPalette(captionPalette);
    }
    // Check boxes a shade lighter than the card behind them, so that the box itself shows.
    for (QCheckBox* check : {form->chkShutdown, form->chkShowOutputDirectory}) {
        QPalette checkPalette = check->palette();
        checkPalette.setColor(QPalette::Base, QColor(0x33, 0x41, 0x55));
        checkPalette.setColor(QPalette::Window, QColor(0x4a, 0x5b, 0x73));
        check->setPalette(checkPalette);
    }

    QFont timeFont(QStringLiteral("DejaVu Sans Mono"));
    timeFont.setPixelSize(14);
    timeFont.setBold(true);
    form->pnlCurTime->setFont(timeFont);
}

void InformationBox(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Vantorel"), text, QMessageBox::Ok);
    box.exec();
}

} // namespace

QString TFrmMainForm::DefaultOutputFolder() { return QDir::homePath() + QStringLiteral("/vantorel"); }

void TFrmMainForm::FormCreate() {
    CreateAppObjects();
    ApplySkin(this);
    edtOutputFolder->setText(DefaultOutputFolder());
    if (StartupChecks) CheckCompanionLibraries();
    tmrClearMemory->start();
}

bool TFrmMainForm::CheckCompanionLibraries() {
    bool allThere = true;
    for (const char* name : {"Form.dll", "Res.dll"}) {
        if (QFileInfo(QString::fromStdString(CompanionLibraryPath(name))).isFile()) continue;
        // Every missing library is reported, each in its own box, before the program ends.
        InformationBox(QStringLiteral("'%1' is not found. Please reinstall this program.").arg(name));
        allThere = false;
    }
    if (!allThere) TerminateRequested = true;
    return allThere;
}

void TFrmMainForm::FormShow() {
    CustomProc->FillOptionCombos();
    setAcceptDrops(true);
    if (StartupSplash) ShowSplash(this);
    setWindowTitle(QStringLiteral("Vantorel"));
    CustomProc->ApplyQualityPreset();
}

// A frameless window has no sizing border: its minimum height is the height of its skin.
void TFrmMainForm::FormResize() { setMinimumSize(686, 511); }

void TFrmMainForm::FormClose() {}

void TFrmMainForm::actMinimizeExecute() { setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized); }

void TFrmMainForm::actCloseWindowExecute() { close(); }

bool TFrmMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblTitle && (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        lblTitleMouseMove(static_cast<QMouseEvent*>(event));
        return event->isAccepted();
    }
    return QWidget::eventFilter(watched, event);
}

// Dragging the title line moves the window; the mouse merely passing over it does nothing.
void TFrmMainForm::lblTitleMouseMove(QMouseEvent* event) {
    const bool leftHeld = event->type() == QEvent::MouseButtonPress ? event->button() == Qt::LeftButton
                                                                     : (event->buttons() & Qt::LeftButton);
    if (!leftHeld || !rzfrmshpfrmConverter || rzfrmshpfrmConverter->IsFollowingMouse()) {
        event->ignore();
        return;
    }
    rzfrmshpfrmConverter->BeginWindowDrag();
    event->accept();
}

void TFrmMainForm::ActSysHomePageExecute() { OpenDocument(QUrl(QString::fromStdString(SoftInfo.HomePage))); }

void TFrmMainForm::ActSysEmailExecute() {
    OpenDocument(QUrl(QStringLiteral("mailto:") + QString::fromStdString(SoftInfo.Email)));
}

void TFrmMainForm::ActSysHelpExecute() {
    // Without the splash AppDir stays empty; the help page still lies beside the program.
    const std::string folder = SoftInfo.AppDir.empty() ? CompanionLibraryPath("") : SoftInfo.AppDir;
    OpenDocument(QUrl::fromLocalFile(QString::fromStdString(folder + "Help.html")));
}

void TFrmMainForm::ActSysAboutExecute() {
    TCompanionLibrary form("Form.dll");
    const auto showAbout = form.Resolve<ShowAboutFormFunc>("ShowAboutForm");
    if (!showAbout) return;
    const TSoftInfoRecord info{SoftInfo.Company.c_str(),  SoftInfo.ProductName.c_str(), SoftInfo.ExtraInfo1.c_str(),
                               SoftInfo.TitleSuffix.c_str(), SoftInfo.HomePage.c_str(), SoftInfo.Email.c_str(),
                               SoftInfo.ExtraInfo2.c_str(), SoftInfo.AppDir.c_str()};
    showAbout(QCoreApplication::instance(), info);
}

void TFrmMainForm::btnSelectOutputFolderClick() {
    edtOutputFolder->setText(
        QString::fromStdString(CommonLib->ChooseOutputFolder(edtOutputFolder->text().toStdString())));
}
