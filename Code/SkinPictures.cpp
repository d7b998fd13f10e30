#include "SkinPictures.h"

#include "RzBmpButton.h"
#include "Unit_AppFunc.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>

QString SkinPicturePath(const QString& name) {
    return QString::fromStdString(TAppFunc().GetAppDir()) + QStringLiteral("Pictures/") + name +
           QStringLiteral(".png");
}

QPixmap LoadSkinPicture(const QString& name) {
    const QString path = SkinPicturePath(name);
    QPixmap picture;
    if (QFile::exists(path)) picture.load(path);
    return picture;
}

void LoadButtonPictures(TRzBmpButton* button, const QString& name) {
    button->SetPictures(LoadSkinPicture(name + QStringLiteral("_up")), LoadSkinPicture(name + QStringLiteral("_hot")),
                        LoadSkinPicture(name + QStringLiteral("_down")),
                        LoadSkinPicture(name + QStringLiteral("_disabled")));
}

void ApplyVantorelLook(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QPalette p;
    const QColor window(0x26, 0x2e, 0x3a), base(0x18, 0x1e, 0x27), text(0xe8, 0xee, 0xf6);
    const QColor button(0x33, 0x3f, 0x50), accent(0x3b, 0x82, 0xf6), muted(0x7d, 0x8a, 0x9c);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x1f, 0x26, 0x31));
    p.setColor(QPalette::ToolTipBase, QColor(0x10, 0x18, 0x28));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, muted);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x4a, 0x58, 0x6c));
    p.setColor(QPalette::Midlight, QColor(0x3d, 0x4a, 0x5c));
    p.setColor(QPalette::Mid, QColor(0x2c, 0x35, 0x42));
    p.setColor(QPalette::Dark, QColor(0x14, 0x19, 0x20));
    p.setColor(QPalette::Shadow, QColor(0x0a, 0x0d, 0x12));
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x7c, 0xb0, 0xff));
    p.setColor(QPalette::LinkVisited, QColor(0xa7, 0x8b, 0xfa));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, muted);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    app.setPalette(p);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    app.setFont(font);
}
