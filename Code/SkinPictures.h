// Vantorel's pictures (skins, buttons, logo, handles, header pictures) and its one look.
// The pictures lie in Pictures/ of the application folder, made by the build; a missing picture gives a
// null pixmap, and the controls then draw themselves plainly, so the program still works.
#pragma once

#include <QPixmap>
#include <QString>

class QApplication;
class TRzBmpButton;

// <application folder>/Pictures/<name>.png
QString SkinPicturePath(const QString& name);
QPixmap LoadSkinPicture(const QString& name);

// Gives a picture button its <name>_up, _hot, _down and (where there is one) _disabled pictures.
void LoadButtonPictures(TRzBmpButton* button, const QString& name);

// The application's style, palette and font: the dark blue-grey of the skins, for every window and box.
void ApplyVantorelLook(QApplication& app);
