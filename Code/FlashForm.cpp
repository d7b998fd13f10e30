#include "FlashForm.h"

#include "CompanionApi.h"
#include "CompanionLibrary.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <stdexcept>

RecSoftInfo SoftInfo;

namespace {

std::string ReadString(ResLoadStringFunc load, unsigned id) {
    if (!load) return {};
    char buffer[SoftInfoBufferSize] = {};
    const int length = load(id, buffer, SoftInfoBufferSize);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

} // namespace

std::string CompanionLibraryPath(const char* name) {
    const std::string folder = CommonLib ? CommonLib->ExeFolder : TAppFunc().GetAppDir();
    return folder + name;
}

void LoadSoftInfo() {
    // Let the splash paint before the library is read.
    QCoreApplication::processEvents();
    {
        TCompanionLibrary res("Res.dll");
        const auto load = res.Resolve<ResLoadStringFunc>("ResLoadString");
        SoftInfo.Company = ReadString(load, RES_COMPANY);
        SoftInfo.ProductName = ReadString(load, RES_PRODUCT_NAME);
        SoftInfo.ExtraInfo1 = ReadString(load, RES_EXTRA_INFO_1);
        SoftInfo.TitleSuffix = ReadString(load, RES_TITLE_SUFFIX);
        SoftInfo.HomePage = ReadString(load, RES_HOME_PAGE);
        SoftInfo.Email = ReadString(load, RES_EMAIL);
        SoftInfo.ExtraInfo2 = ReadString(load, RES_EXTRA_INFO_2);
    }
    SoftInfo.AppDir = CommonLib ? CommonLib->ExeFolder : TAppFunc().GetAppDir();
    if (FrmMainForm)
        FrmMainForm->lblTitle->setText(QString::fromStdString(SoftInfo.ProductName + " " + SoftInfo.TitleSuffix));
}

void ShowSplash(QWidget* owner) {
    TCompanionLibrary res("Res.dll");
    if (!res.IsLoaded()) throw std::runtime_error("Res.dll could not be loaded");
    const auto find = res.Resolve<ResFindResourceFunc>("ResFindResource");
    size_t size = 0;
    const unsigned char* data = find ? find("ImgFlash", "jpeg", &size) : nullptr;
    if (!data || size == 0) throw std::runtime_error("Resource ImgFlash not found");
    QPixmap picture;
    if (!picture.loadFromData(data, static_cast<uint>(size), "JPEG"))
        throw std::runtime_error("The picture ImgFlash is not a valid JPEG picture");
    TFrmFlashForm form(owner);
    form.SetPicture(picture);
    form.exec();
}

TFrmFlashForm::TFrmFlashForm(QWidget* owner) : QDialog(owner, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmFlashForm"));
    setModal(true);
    ImgFlash = new QLabel(this);
    ImgFlash->setObjectName(QStringLiteral("ImgFlash"));
    ImgFlash->move(0, 0);
    Timer1 = new QTimer(this);
    Timer1->setInterval(250);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFrmFlashForm::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TFrmFlashForm::Timer2Timer);
}

void TFrmFlashForm::SetPicture(const QPixmap& picture) {
    ImgFlash->setPixmap(picture);
    ImgFlash->resize(picture.deviceIndependentSize().toSize());
    setFixedSize(ImgFlash->size());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void TFrmFlashForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFrmFlashForm::FormShow() {
    TickCount = 0;
    Timer1->start();
    Timer2->start();
}

void TFrmFlashForm::Timer1Timer() {
    Timer1->stop();
    LoadSoftInfo();
    // Keep painting and counting Timer2's ticks: the splash stays about two seconds in all.
    while (TickCount < 2 && isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Timer2->stop();
    close();
}

void TFrmFlashForm::Timer2Timer() { ++TickCount; }
