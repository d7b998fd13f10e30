// Draws every picture of Vantorel from the sources beside it: run by the build, never shipped.
// Usage: vantorel_picgen <icon.svg> <picture folder> <work folder>
#include "Drawing.h"
#include "Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSvgRenderer>

#include <cstdio>

PictureSink::PictureSink(QString pictureFolder, QString workFolder)
    : PictureFolder(std::move(pictureFolder)), WorkFolder(std::move(workFolder)) {}

void PictureSink::Save(const QString& name, const QImage& image) {
    const QString path = PictureFolder + "/" + name + ".png";
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        Failed = true;
    }
}

void PictureSink::SaveWork(const QString& relativePath, const QImage& image, const char* format, int quality) {
    const QString path = WorkFolder + "/" + relativePath;
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        Failed = true;
    }
}

void MakeIcons(PictureSink& sink, const QString& iconSvg) {
    QSvgRenderer svg(iconSvg);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage icon = Blank(size, size);
        QPainter p(&icon);
        svg.render(&p, QRectF(0, 0, size, size));
        p.end();
        sink.SaveWork(QString("icons/hicolor/%1x%1/apps/vantorel.png").arg(size), icon, "PNG");
        if (size == 256) sink.Save("vantorel", icon);
    }
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <icon.svg> <picture folder> <work folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString iconSvg = QString::fromLocal8Bit(argv[1]);
    if (!QSvgRenderer(iconSvg).isValid()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    SetMarkSource(iconSvg);
    PictureSink sink(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QDir().mkpath(QString::fromLocal8Bit(argv[2]));
    MakeButtons(sink);
    MakeSkins(sink);
    MakeIcons(sink, iconSvg);
    return sink.Failed ? 1 : 0;
}
