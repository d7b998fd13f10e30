#include "Unit_Option.h"

#include "UnitCustomProc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <vector>

TfrmOption* frmOption = nullptr;

namespace {

const char* const ProfileFile = "UserProfileInfo.ini";

QLabel* Caption(QWidget* parent, const char* text, int left, int top) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Fonts wider than the ones the layout was drawn for would run captions under their lists: all captions
// of the group take the largest size at which each fits the room left of its list, so they stay alike.
void FitCaptions(const std::vector<std::pair<QLabel*, int>>& captions) {
    if (captions.empty()) return;
    QFont font = captions.front().first->font();
    auto fitsAll = [&] {
        const QFontMetrics metrics(font);
        for (const auto& [label, room] : captions)
            if (metrics.horizontalAdvance(label->text()) > room) return false;
        return true;
    };
    while (!fitsAll() && font.pixelSize() > 8)
        font.setPixelSize(font.pixelSize() - 1);
    for (const auto& [label, room] : captions) {
        label->setFont(font);
        label->adjustSize();
    }
}

// Keeps the caption's top and lines its text up with the middle of its list, whatever the font's height.
void CentreOn(QLabel* label, const QComboBox* list) {
    const int middle2 = 2 * list->y() + list->height();
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->resize(label->width(), std::max(label->height(), middle2 - 2 * label->y()));
}

QComboBox* PickList(QWidget* parent, int left, int top, int width) {
    auto* combo = new QComboBox(parent);
    combo->setGeometry(left, top, width, 21);
    return combo;
}

QPushButton* Button(QWidget* parent, const char* text, int left, int top, int width, int height) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setGeometry(left, top, width, height);
    return button;
}

} // namespace

TfrmOption::TfrmOption(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    frmOption = this;
    setWindowTitle(QStringLiteral("Options"));
    setModal(false);
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(476, 260);
    CreateControls();
    ConnectHandlers();
}

TfrmOption::~TfrmOption() {
    if (frmOption == this) frmOption = nullptr;
}

void TfrmOption::CreateControls() {
    lblCustomProfile = Caption(this, "Custom Profile:", 8, 24);
    cbbCustomProfile = PickList(this, 112, 24, 185);
    cbbCustomProfile->setEditable(true);
    // Typed names are never added to the list by Enter, never completed into another profile's name, and
    // never turn into a selection by themselves: only a pick from the list selects a profile.
    cbbCustomProfile->setInsertPolicy(QComboBox::NoInsert);
    cbbCustomProfile->setCompleter(nullptr);
    QObject::disconnect(cbbCustomProfile->lineEdit(), &QLineEdit::editingFinished, cbbCustomProfile, nullptr);
    cbbCustomProfile->setCurrentIndex(-1);
    btnAdd = Button(this, "Add", 304, 22, 49, 24);
    btnSave = Button(this, "Save", 356, 22, 49, 24);
    btnDel = Button(this, "Delete", 408, 22, 49, 24);

    grpAdvOptions = new QGroupBox(QStringLiteral("Advanced Options"), this);
    grpAdvOptions->setGeometry(12, 48, 449, 153);
    QWidget* g = grpAdvOptions;
    lblVideoSize = Caption(g, "Video Size:", 6, 21);
    cbbVideoSize = PickList(g, 100, 19, 117);
    lblVideoBitrate = Caption(g, "Video Bitrate(kbps):", 6, 53);
    cbbVideoBitrate = PickList(g, 100, 51, 117);
    lblFrameRate = Caption(g, "Frame Rate(fps):", 6, 85);
    cbbFramerate = PickList(g, 100, 83, 116);
    lblAspectRatio = Caption(g, "Aspect Ratio:", 6, 116);
    cbbAspectratio = PickList(g, 100, 114, 116);
    lblAudioBitrate = Caption(g, "Audio Bitrate(kbps):", 229, 21);
    cbbAudioBitrate = PickList(g, 323, 19, 117);
    lblSample = Caption(g, "Audio Sample(khz):", 230, 53);
    cbbAudioSample = PickList(g, 323, 51, 117);
    lblVolume = Caption(g, "Audio Volume(%):", 230, 85);
    cbbAudioVolumeGain = PickList(g, 323, 83, 117);
    lblChannels = Caption(g, "Audio Channels:", 230, 116);
    cbbAudioChannels = PickList(g, 323, 114, 117);
    FitCaptions({{lblVideoSize, 92},
                 {lblVideoBitrate, 92},
                 {lblFrameRate, 92},
                 {lblAspectRatio, 92},
                 {lblAudioBitrate, 92},
                 {lblSample, 91},
                 {lblVolume, 91},
                 {lblChannels, 91}});
    for (const auto& [label, list] :
         std::vector<std::pair<QLabel*, QComboBox*>>{{lblCustomProfile, cbbCustomProfile},
                                                     {lblVideoSize, cbbVideoSize},
                                                     {lblVideoBitrate, cbbVideoBitrate},
                                                     {lblFrameRate, cbbFramerate},
                                                     {lblAspectRatio, cbbAspectratio},
                                                     {lblAudioBitrate, cbbAudioBitrate},
                                                     {lblSample, cbbAudioSample},
                                                     {lblVolume, cbbAudioVolumeGain},
                                                     {lblChannels, cbbAudioChannels}})
        CentreOn(label, list);

    btnApply = Button(this, "OK", 296, 216, 73, 25);
    btnCancel = Button(this, "Cancel", 384, 216, 73, 25);
    btnApply->setDefault(true);
}

void TfrmOption::ConnectHandlers() {
    // Only the user's own pick or typing counts as a change of the profile box.
    connect(cbbCustomProfile, &QComboBox::activated, this, &TfrmOption::cbbCustomProfileChange);
    connect(cbbCustomProfile->lineEdit(), &QLineEdit::textEdited, this, &TfrmOption::ProfileTextEdited);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmOption::btnAddClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmOption::btnSaveClick);
    connect(btnDel, &QPushButton::clicked, this, &TfrmOption::btnDelClick);
    connect(btnApply, &QPushButton::clicked, this, &TfrmOption::btnApplyClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmOption::btnCancelClick);
}

std::array<QComboBox*, 9> TfrmOption::SnapshotCombos() const {
    return {cbbVideoSize,   cbbVideoBitrate,    cbbFramerate,     cbbAspectratio,  cbbAudioBitrate,
            cbbAudioSample, cbbAudioVolumeGain, cbbAudioChannels, cbbCustomProfile};
}

void TfrmOption::showEvent(QShowEvent* event) {
    if (!Centred) {
        // Centred on the desktop the first time; later the dialog opens where the user left it.
        Centred = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmOption::closeEvent(QCloseEvent* event) {
    // The close box only hides: no snapshot is restored and the main window's list is not refilled.
    event->accept();
}

void TfrmOption::reject() {
    btnCancelClick();
}

void TfrmOption::ShowOrRaise() {
    if (isVisible()) {
        if (isMinimized()) showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void TfrmOption::ReloadProfileNames() {
    const TStringList names = CommonLib->ReadConfigSections(ProfileFile);
    const QString text = cbbCustomProfile->currentText();
    cbbCustomProfile->clear();
    for (const std::string& name : names)
        cbbCustomProfile->addItem(QString::fromStdString(name), QByteArray::fromStdString(name));
    SelectComboItem(cbbCustomProfile, -1);
    cbbCustomProfile->setEditText(text);
}

void TfrmOption::FormShow() {
    ReloadProfileNames();
    if (cbbCustomProfile->currentText().isEmpty() && FrmMainForm) {
        // A user profile chosen on the main window shows here; a quality preset selects nothing.
        const int p = FrmMainForm->cbbProfile->currentIndex();
        SelectComboItem(cbbCustomProfile, p - QualityCount);
    }
    const auto combos = SnapshotCombos();
    for (size_t i = 0; i < combos.size(); ++i)
        OptionsSnapshot[i] = combos[i]->currentIndex();
}

void TfrmOption::ProfileTextEdited(const QString& text) {
    // Typed text names no profile in the list: drop the selection but keep what the user typed.
    if (cbbCustomProfile->currentIndex() >= 0) {
        QLineEdit* edit = cbbCustomProfile->lineEdit();
        const int cursor = edit->cursorPosition();
        SelectComboItem(cbbCustomProfile, -1);
        cbbCustomProfile->setEditText(text);
        edit->setCursorPosition(cursor);
    }
    cbbCustomProfileChange();
}

void TfrmOption::cbbCustomProfileChange() {
    CustomProc->ApplyUserProfile();
}

void TfrmOption::AfterProfileChange(bool deleting) {
    ReloadProfileNames();
    const int count = cbbCustomProfile->count();
    if (count > 0)
        SelectComboItem(cbbCustomProfile, count - 1);
    else if (deleting)
        cbbCustomProfile->setEditText(QString());
}

void TfrmOption::btnAddClick() {
    CustomProc->AddUserProfile();
    AfterProfileChange(false);
}

void TfrmOption::btnSaveClick() {
    CustomProc->SaveUserProfile();
    AfterProfileChange(false);
}

void TfrmOption::btnDelClick() {
    CustomProc->DeleteUserProfile();
    AfterProfileChange(true);
}

void TfrmOption::btnApplyClick() {
    // The option combos keep what the user set; the main window's list only gains the new profiles.
    if (FrmMainForm) {
        FrmMainForm->cbbProfile->clear();
        CustomProc->FillProfileCombo(FrmMainForm->cbbProfile);
    }
    hide();
}

void TfrmOption::btnCancelClick() {
    const auto combos = SnapshotCombos();
    for (size_t i = 0; i < combos.size(); ++i)
        SelectComboItem(combos[i], OptionsSnapshot[i]);
    hide();
}

TfrmOption* EnsureOptionForm() {
    if (!frmOption) {
        auto* form = new TfrmOption;
        // Made here only when the program entry did not make it; it goes with the application.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, form, [form] { delete form; });
    }
    return frmOption;
}

std::string InputProfileName(QWidget* parent, const std::string& proposed) {
    QInputDialog box(parent);
    box.setWindowTitle(QStringLiteral("Vantorel"));
    box.setLabelText(QStringLiteral("Plese input a name"));
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(QString::fromStdString(proposed));
    if (box.exec() != QDialog::Accepted) return proposed;
    return box.textValue().toStdString();
}

void SelectComboItem(QComboBox* combo, int index) {
    // An index outside the list leaves the combo without a selection.
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

std::string ComboItemName(const QComboBox* combo, int index) {
    if (index < 0 || index >= combo->count()) return std::string();
    // Items loaded from a file keep the file's own bytes, so names that are not valid UTF-8 still match.
    const QVariant bytes = combo->itemData(index);
    if (bytes.typeId() == QMetaType::QByteArray) return bytes.toByteArray().toStdString();
    return combo->itemText(index).toStdString();
}

std::string ComboCurrentName(const QComboBox* combo) {
    const int index = combo->currentIndex();
    if (index >= 0 && combo->currentText() == combo->itemText(index)) return ComboItemName(combo, index);
    return combo->currentText().toStdString();
}
