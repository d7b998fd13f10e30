// TfrmConverting: the progress window of a batch — the file being converted, a bar for it and one for the
// whole batch, the count line, the encoder's latest output, and Stop.
#pragma once

#include "ProgressRefresh.h"

#include <QProgressBar>
#include <QWidget>

#include <string>

class QAction;
class QLabel;
class QStatusBar;
class TRzBmpButton;

// A progress bar whose position is always held inside its range and whose maximum may be 0 (an empty bar,
// not the busy animation).
class TProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit TProgressBar(QWidget* parent = nullptr);
    int32_t Min() const { return State.Min; }
    int32_t Max() const { return State.Max; }
    int32_t Position() const { return State.Position; }
    void SetMin(int32_t min);
    void SetMax(int32_t max);
    void SetPosition(int64_t position);
    const TBarState& Bar() const { return State; }
    void SetBar(const TBarState& bar);

  private:
    void Show();
    TBarState State;
};

// The window's background (a form shape): the skin picture, or a drawn one when there is none. Dragging it
// moves the window.
class TConvertingSkin : public QWidget {
    Q_OBJECT
  public:
    explicit TConvertingSkin(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return Skin; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPixmap Skin;
};

class TfrmConverting : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmConverting(QWidget* parent = nullptr);
    ~TfrmConverting() override;

    TConvertingSkin* rzfrmshpConvertting = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* lblCurConvertFileL = nullptr;
    QLabel* lblCurFileName = nullptr;
    QLabel* lblTotalFilr = nullptr;
    TProgressBar* pbTotal = nullptr;
    QLabel* lblCurprog = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    QLabel* lblPersent = nullptr;
    TRzBmpButton* btnStop = nullptr;
    QStatusBar* statState = nullptr;
    QAction* actRefreshProgress = nullptr;

    // The text of the status bar's one panel: the latest chunk of encoder output, exactly as received.
    std::string StatusPanelText() const { return StatusText; }
    void SetStatusPanelText(const std::string& text);

    // The skin picture; its transparent pixels and those of the skins' transparent colour (magenta) lie
    // outside the window. The window loads Pictures/rzfrmshpConvertting.png and the Stop button's
    // Pictures/btnStop_up, _hot and _down.png from the application folder when it is made.
    void SetSkin(const QPixmap& picture);

    void FormShow();
    void actRefreshProgressExecute();
    void btnStop1Click();
    // The user closes the window: it hides either way; Yes also stops the batch.
    void FormClose();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ApplyShape();
    // Hides the window, gives the main window back and makes the batch start no further file.
    void StopBatch();
    QLabel* StatusPanel = nullptr;
    std::string StatusText;
    bool Centred = false;
};

extern TfrmConverting* frmConverting;

// The runner's callback during a batch: lets the windows work, shows the chunk and refreshes the progress.
void OnEncoderOutput(const std::string& chunk);

// A Yes/No question titled with the application title, without an icon; true for Yes.
bool AskYesNo(const std::string& question);
