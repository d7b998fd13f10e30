// Message boxes.
#include "Unit_CommonLib.h"

#include "Application.h"

#include <QApplication>
#include <QMessageBox>

bool TCommonLib::ShowMessageBox(const std::string& text, int kind) {
    static const QMessageBox::Icon icons[] = {QMessageBox::Critical, QMessageBox::Warning,
                                              QMessageBox::Question, QMessageBox::Information};
    if (kind < 0 || kind > 3 || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    QMessageBox box(icons[kind], ApplicationTitle, QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return true;
}
