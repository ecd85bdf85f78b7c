#include "Dialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace Dialogs {
namespace {

Chooser &chooserSlot()
{
    static Chooser slot;
    return slot;
}

QString platformDialog(QWidget *parent, const Request &request)
{
    switch (request.kind) {
    case Request::Kind::ExistingDirectory:
        return QFileDialog::getExistingDirectory(parent, request.caption, request.start);
    case Request::Kind::OpenFile:
        return QFileDialog::getOpenFileName(parent, request.caption, request.start, request.filter);
    case Request::Kind::SaveFile:
        return QFileDialog::getSaveFileName(parent, request.caption, request.start, request.filter);
    }
    return {};
}

QString run(QWidget *parent, const Request &request)
{
    if (chooserSlot())
        return chooserSlot()(parent, request);
    return platformDialog(parent, request);
}

} // namespace

Chooser setChooser(Chooser chooser)
{
    Chooser old = std::move(chooserSlot());
    chooserSlot() = std::move(chooser);
    return old;
}

QString existingDirectory(QWidget *parent, const QString &caption, const QString &start)
{
    return run(parent, {Request::Kind::ExistingDirectory, caption, start, {}});
}

QString openFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter)
{
    return run(parent, {Request::Kind::OpenFile, caption, start, qtFilter(filter)});
}

QString saveFileName(QWidget *parent, const QString &caption, const QString &start, const QString &filter)
{
    return run(parent, {Request::Kind::SaveFile, caption, start, qtFilter(filter)});
}

QString qtFilter(const QString &filter)
{
    if (!filter.contains(u'|'))
        return filter;
    // The pipe form alternates a description and its patterns; Qt reads the patterns from the
    // parentheses of the description, so a description without them gets the patterns added.
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ').trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (description.contains(u'(') || patterns.isEmpty())
            entries << description;
        else
            entries << description + QStringLiteral(" (") + patterns + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace Dialogs
