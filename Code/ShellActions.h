// Opening a document or an address with the user's own programs (browser, mail program). Everything the
// main window opens goes through OpenDocument, which tests replace so that nothing is ever started.
#pragma once

#include <QUrl>

#include <functional>

using TOpenDocumentFunc = std::function<bool(const QUrl&)>;

// The function in use; by default the desktop's opener (xdg-open), without any shell.
TOpenDocumentFunc& OpenDocumentFunc();
bool OpenDocument(const QUrl& target);
