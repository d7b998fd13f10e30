#include "OpenDialog.h"

#include <QFileDialog>

const char* const SourceFileFilter =
    "Supported Files (*.3gp *.mp4 *.m4v *.mpeg *.3g2 *.mpg *.avi *.asf *.mov *.wmv *.flv *.swf *.rm *.rmvb "
    "*.vob);;"
    "3GP, 3G2 Files (*.3gp,*.3g2) (*.3gp);;"
    "AVI Files (*.avi) (*.avi);;"
    "ASF Files (*.asf) (*.asf);;"
    "MOV Files (*.mov) (*.mov);;"
    "FLV ,SWF Flash Video (*.flv,swf) (*.flv *.swf);;"
    "MP4 File (*.mp4,*.m4v) (*.mp4 *.m4v);;"
    "MPEG Files (*.mpeg,*.mpg) (*.mpeg *.mpg);;"
    "RM, RMVB (*.rm,*.rmvb) (*.rm *.rmvb);;"
    "VOB Video Files (*.vob) (*.vob);;"
    "WMV Video Files (*.wmv) (*.wmv)";

TOpenDialog::TOpenDialog(QWidget* owner) : QObject(owner), Owner(owner) {}

bool TOpenDialog::Execute() {
    QFileDialog dialog(Owner, QString::fromStdString(Title), QString::fromStdString(InitialDir));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(true);
    // The captions carry their own pattern text; the dialog adds none.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(QString::fromStdString(Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    // Extensions are accepted in any letter case, so the dialog lists A.AVI beside a.avi.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted) {
        Files.clear();
        return false;
    }
    Files.clear();
    for (const QString& file : dialog.selectedFiles())
        Files.push_back(file.toStdString());
    if (!Files.empty()) FileName = Files.front();
    return true;
}
