// TFrmFlashForm: the splash window shown for about two seconds at start-up, and the product information
// record it reads from Res.dll while it is up.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QTimer;

// The product texts (UTF-8, at most 253 bytes each from Res.dll) and the application folder.
struct RecSoftInfo {
    std::string Company;
    std::string ProductName;
    std::string ExtraInfo1;
    std::string TitleSuffix;
    std::string HomePage;
    std::string Email;
    std::string ExtraInfo2;
    std::string AppDir;
};

extern RecSoftInfo SoftInfo;

// Res.dll's string buffer holds 254 bytes, terminator included.
constexpr int SoftInfoBufferSize = 254;

// Fills SoftInfo from Res.dll and sets the main window's title line.
void LoadSoftInfo();

// Shows the splash modally with the picture "ImgFlash" of Res.dll; returns when it has closed.
// A missing or broken picture raises an error before anything is shown.
void ShowSplash(QWidget* owner);

class TFrmFlashForm : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmFlashForm(QWidget* owner = nullptr);

    QLabel* ImgFlash = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    int TickCount = 0;

    void SetPicture(const QPixmap& picture);
    void FormShow();
    void Timer1Timer();
    void Timer2Timer();

  protected:
    void showEvent(QShowEvent* event) override;
};
