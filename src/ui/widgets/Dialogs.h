#pragma once
// File and folder dialogs of the windows. The only place besides the message presenter that
// opens a platform dialog; tests replace the chooser so no dialog ever blocks them.

#include <QString>
#include <functional>

class QWidget;

namespace Dialogs {

/// What a window asks the user to choose.
struct Request {
    enum class Kind { ExistingDirectory, OpenFile, SaveFile };
    Kind kind = Kind::ExistingDirectory;
    QString caption;
    /// The folder (or file) the dialog starts at.
    QString start;
    /// Qt's filter text ("JPEG Files (*.jpg);;GIF Files (*.gif)"); empty for folders.
    QString filter;
};

/// Answers a request with the chosen path, or an empty text when the user cancelled.
using Chooser = std::function<QString(QWidget *parent, const Request &request)>;

/// Installs the function that answers requests (tests); returns the one it replaces.
/// An empty chooser restores the platform dialogs.
Chooser setChooser(Chooser chooser);

/// Asks for an existing folder; empty when cancelled.
QString existingDirectory(QWidget *parent, const QString &caption, const QString &start);

/// Asks for a file to open; filter in either form accepted by qtFilter(). Empty when cancelled.
QString openFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter);

/// Asks for a file name to save under; empty when cancelled.
QString saveFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter);

/// Turns a "Name (*.a)|*.a|Other (*.b)|*.b|" filter into Qt's "Name (*.a);;Other (*.b)" form.
/// A text without "|" is returned unchanged.
[[nodiscard]] QString qtFilter(const QString &filter);

} // namespace Dialogs
