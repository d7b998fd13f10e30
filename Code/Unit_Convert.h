// TFrmMainForm: the main window. Handlers are thin and forward to the single-instance objects.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;
class QTreeWidget;
class TRzBmpButton;

class TFrmMainForm : public QWidget {
    Q_OBJECT
  public:
    explicit TFrmMainForm(QWidget* parent = nullptr);
    ~TFrmMainForm() override;

    // Header
    QLabel* lblTitle = nullptr;
    TRzBmpButton* btnWindowMinimize = nullptr;
    TRzBmpButton* btnWindowClose = nullptr;
    TRzBmpButton* btnHomePage = nullptr;
    TRzBmpButton* btnEMail = nullptr;
    TRzBmpButton* btnHelp = nullptr;
    TRzBmpButton* btnAbout = nullptr;

    // Preview region
    QFrame* pnlMediaView = nullptr;
    QWidget* DSVideoWindowEx1 = nullptr; // the player draws into this widget's native window
    QWidget* panLogo = nullptr;
    QLabel* imgLOGO = nullptr;
    QWidget* Panel1 = nullptr; // trim bar
    QProgressBar* pbPlayState = nullptr;
    QLabel* imgPlay = nullptr;
    TRzBmpButton* btnPlay = nullptr;
    TRzBmpButton* btnPause = nullptr;
    TRzBmpButton* RzBmpButton1 = nullptr; // stop
    QLabel* pnlCurTime = nullptr;

    // Output settings
    QLabel* lblOutputFileTypeName = nullptr;
    QComboBox* cbbOutputFiletype = nullptr;
    QLabel* lblProfileSettings = nullptr;
    QComboBox* cbbProfile = nullptr;
    QLabel* lblOutputFolderInfo = nullptr;
    QLineEdit* edtOutputFolder = nullptr;
    TRzBmpButton* btnSelectOutputFolder = nullptr;
    QCheckBox* chkShutdown = nullptr;
    TRzBmpButton* btnOptions = nullptr;
    QCheckBox* chkShowOutputDirectory = nullptr;

    // Source list
    QTreeWidget* dxTreeSourceFileInfo = nullptr;
    TRzBmpButton* btnOpenFile = nullptr;
    TRzBmpButton* btnRemoveFile = nullptr;
    TRzBmpButton* btnClearFile = nullptr;
    TRzBmpButton* btnConvert = nullptr;

    QTimer* tmrClearMemory = nullptr;

    // --- Window and start-up handlers ---
    // The skin: background picture, window outline, moving by the background.
    class TRzFormShape* rzfrmshpfrmConverter = nullptr;

    // The program entry turns these on; windows that tests make start without them.
    static bool StartupChecks; // the companion library check in FormCreate
    static bool StartupSplash; // the splash in FormShow
    // Set by CheckCompanionLibraries when a library is missing: the program is to end.
    bool TerminateRequested = false;

    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();
    bool CheckCompanionLibraries();
    void actMinimizeExecute();
    void actCloseWindowExecute();
    void lblTitleMouseMove(class QMouseEvent* event);
    void ActSysHomePageExecute();
    void ActSysEmailExecute();
    void ActSysHelpExecute();
    void ActSysAboutExecute();
    void btnSelectOutputFolderClick();
    // The output folder every start begins with: "vantorel" in the user's home folder.
    static QString DefaultOutputFolder();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // --- Conversion settings handlers ---
    void cbbOutputFiletypeChange();
    void cbbProfileChange();
    void btnOptionsClick();

    // --- Conversion handlers ---
    void btnConvertClick();
    void tmrClearMemoryTimer();

    // --- Source list and preview handlers ---
    void btnOpenFileClick();
    void btnRemoveFileClick();
    void btnClearFileClick();
    void btnPlayClick();
    void btnPauseClick();
    void RzBmpButton1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void ConnectHandlers();
    bool Shown = false;
};

extern TFrmMainForm* FrmMainForm;
