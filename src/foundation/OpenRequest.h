#pragma once
// What to show when the program is told to open paths: on its command line, by a drop on the
// main window or typed into the folder box.

#include <QString>
#include <QStringList>

struct OpenRequest {
    /// The folder to list, absolute with native separators and no trailing separator; empty when
    /// none of the paths names anything that exists.
    QString folder;
    /// The names (without folder) of the given files that lie in folder, to be selected there.
    QStringList fileNames;
    /// The given paths that name nothing.
    QStringList missing;
};

/// Works out the folder and the files to select from paths (relative ones against the working
/// folder): the first path that exists decides the folder (a folder itself, a file its folder);
/// the given files in that folder are selected. Paths elsewhere are left out.
[[nodiscard]] OpenRequest openRequestFor(const QStringList &paths);

/// True for what a drop on the main window opens: a folder or an MP3 file.
[[nodiscard]] bool isOpenablePath(const QString &path);

/// "The folder or file "PATH" does not exist." with the path made printable: what the user is
/// told when nothing of an open request exists.
[[nodiscard]] QString missingPathMessage(const OpenRequest &request);
