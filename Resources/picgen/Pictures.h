// The generator's picture sets and where they are written.
#pragma once

#include <QImage>
#include <QString>

class PictureSink {
  public:
    PictureSink(QString pictureFolder, QString workFolder);
    // A picture the application loads at run time (PNG in the application's picture folder).
    void Save(const QString& name, const QImage& image);
    // A file that the build uses further (the splash JPEG, the icon sizes).
    void SaveWork(const QString& relativePath, const QImage& image, const char* format, int quality = -1);
    bool Failed = false;

  private:
    QString PictureFolder, WorkFolder;
};

void MakeButtons(PictureSink& sink);
void MakeSkins(PictureSink& sink);
void MakeIcons(PictureSink& sink, const QString& iconSvg);
