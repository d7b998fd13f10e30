#include "ShellActions.h"

#include <QDesktopServices>

TOpenDocumentFunc& OpenDocumentFunc() {
    static TOpenDocumentFunc open = [](const QUrl& target) { return QDesktopServices::openUrl(target); };
    return open;
}

bool OpenDocument(const QUrl& target) {
    const TOpenDocumentFunc& open = OpenDocumentFunc();
    return open ? open(target) : false;
}
