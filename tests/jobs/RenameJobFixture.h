#pragma once
// Album folders of real MP3 files for the rename job scenarios, and independent readers of what
// the job wrote: python3-mutagen for the ID3v2 tag, the raw trailer bytes for ID3v1.

#include "naming/QStringPrinter.h"
#include "support/TestEnv.h"
#include "jobs/AlbumRenameJob.h"

#include <QJsonObject>
#include <QList>
#include <QString>

class RenameJobFixture : public VarneltTest
{
public:
    /// One file of an album folder: its name and the tag/audio it starts with.
    struct SourceFile
    {
        QString fileName;
        QString title;
        double seconds = 1.0;
        bool withV2 = true;
        bool withV1 = false;
    };

protected:

    /// Creates `relativeFolder` under the test folder holding the files; returns its path
    /// (without trailing separator). Each file gets a distinct length so no two are alike.
    QString makeAlbum(const QString &relativeFolder, const QList<SourceFile> &files) const;
    /// Three files "a.mp3", "b.mp3", "c.mp3" titled "One", "Two", "Three".
    QString makeThreeSongAlbum(const QString &relativeFolder) const;

    /// Input for the folder: rows from the files (track texts "01", "02", ...), artist "Foo",
    /// album "Bar", year "2001", genre "Rock", the given mask and destination, both tag versions.
    static RenameJobInput inputFor(const QString &folder, const QList<SourceFile> &files, const QString &mask,
                                   const QString &destination);
    static QList<SourceFile> threeSongs();

    /// The lines under "Warning and error" of the file entry that is the log's root number `root`.
    static QStringList warningsOf(const ResultLog &log, int root);

    /// Every file under a folder, relative to it, sorted ("Foo - Bar/01 - One.mp3").
    static QStringList treeOf(const QString &folder);

    /// Makes a folder refuse new entries (immutable for root, no write permission otherwise);
    /// false when this system lets the test write there anyway. Undone in TearDown.
    bool lockFolder(const QString &folder);
    void TearDown() override;

    ResultLog log;

private:
    QStringList locked_;
};

/// The ID3v2 tag of a file as python3-mutagen reads it: {"v2": bool, "version": n, "TIT2": ...,
/// "TIT2enc": its text encoding (0 ISO-8859-1, 1 UTF-16, 3 UTF-8), ...,
/// "COMM": ..., "APIC": count, "APICmime" and "APICsize" of the first}; frames are kept as
/// stored (no translation between versions).
QJsonObject readV2WithMutagen(const QString &path);

/// The ID3v1 trailer fields read straight from the last 128 bytes; empty when there is none.
struct RawV1
{
    bool present = false;
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    int track = -1;
    int genre = -1;
};
RawV1 readRawV1(const QString &path);
