#pragma once
// The commands of varnelt-cli; each takes the arguments after its name and returns the exit status.

#include <QStringList>

/// "list DIR": one line per MP3 file (name, size, length, bitrate, frequency, mode, tag state,
/// separated by tabs), then the totals line.
int runListCommand(const QStringList &args);

/// "tags FILE": the file's ID3v1 and ID3v2 fields and its file information, "label: value" a line.
int runTagsCommand(const QStringList &args);

/// "tag DIR [options]": a batch tag operation (fill, set, number, copy, remove) over the folder's
/// MP3 files, one line per file.
int runTagCommand(const QStringList &args);

/// "masks": the mask drop-down's entries, "User" or "Default", a tab and the mask.
int runMasksCommand(const QStringList &args);

/// "rename DIR [options]": builds the rename list and runs the album rename job.
int runRenameCommand(const QStringList &args);

/// "undo [--list | ID]": undoes the last rename job (or the one with that id) from its journal,
/// or lists the recorded jobs.
int runUndoCommand(const QStringList &args);

/// "lookup DIR URL [options]": opens the address in the embedded engine, lets the site readers
/// fill the album record and prints it.
int runLookupCommand(const QStringList &args);
