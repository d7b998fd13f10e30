// TfrmOption: the modeless Options dialog with the eight encoder options and the user profiles.
#pragma once

#include <QDialog>

#include <array>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TfrmOption : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmOption(QWidget* parent = nullptr);
    ~TfrmOption() override;

    QLabel* lblCustomProfile = nullptr;
    QComboBox* cbbCustomProfile = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnDel = nullptr;
    QGroupBox* grpAdvOptions = nullptr;
    QLabel* lblVideoSize = nullptr;
    QComboBox* cbbVideoSize = nullptr;
    QLabel* lblVideoBitrate = nullptr;
    QComboBox* cbbVideoBitrate = nullptr;
    QLabel* lblFrameRate = nullptr;
    QComboBox* cbbFramerate = nullptr;
    QLabel* lblAspectRatio = nullptr;
    QComboBox* cbbAspectratio = nullptr;
    QLabel* lblAudioBitrate = nullptr;
    QComboBox* cbbAudioBitrate = nullptr;
    QLabel* lblSample = nullptr;
    QComboBox* cbbAudioSample = nullptr;
    QLabel* lblVolume = nullptr;
    QComboBox* cbbAudioVolumeGain = nullptr;
    QLabel* lblChannels = nullptr;
    QComboBox* cbbAudioChannels = nullptr;
    QPushButton* btnApply = nullptr;
    QPushButton* btnCancel = nullptr;

    // Selected indices recorded when the dialog is shown: the eight option combos, then the profile box.
    std::array<int, 9> OptionsSnapshot{-1, -1, -1, -1, -1, -1, -1, -1, -1};

    void FormShow();
    void cbbCustomProfileChange();
    void btnAddClick();
    void btnSaveClick();
    void btnDelClick();
    void btnApplyClick();
    void btnCancelClick();

    // Shows the dialog, or brings it to the front when it is already showing.
    void ShowOrRaise();
    // Replaces the profile box's items with the stored profile names; its text stays, nothing is selected.
    void ReloadProfileNames();

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void ConnectHandlers();
    void ProfileTextEdited(const QString& text);
    std::array<QComboBox*, 9> SnapshotCombos() const;
    void AfterProfileChange(bool deleting);
    bool Centred = false;
};

extern TfrmOption* frmOption;

// The Options dialog, created hidden on first need when the program entry has not made it yet.
TfrmOption* EnsureOptionForm();

// Asks for a profile name in the application's input box; Cancel gives the proposed name.
std::string InputProfileName(QWidget* parent, const std::string& proposed);

// Selects item `index`, or nothing when the index lies outside the list; raises no change handler.
void SelectComboItem(QComboBox* combo, int index);
// The name of item `index` as stored in the settings file (its own bytes); empty outside the list.
std::string ComboItemName(const QComboBox* combo, int index);
// The box's text: the selected item's stored name, or whatever the user typed.
std::string ComboCurrentName(const QComboBox* combo);
