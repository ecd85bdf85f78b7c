#pragma once
// The core of the folder scan: which files a folder lists, each file's columns and icon, and
// the totals line that grows file by file. The directory page and varnelt-cli both use it; the
// window adds a row and repaints from the per-file callback.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class ID3Edit;
namespace XAnalyzer {
class Analysis;
}

/// One row of the file list: the file name, the five value columns, the tag state and its icon.
struct ListedFile
{
    /// The file's name with extension, no folder (column 0).
    QString fileName;
    /// The full path of the file.
    QString path;
    /// The file length in bytes.
    qint64 sizeBytes = 0;
    /// The size in KB: bytes / 1024 rounded to the nearest whole number (halves to even).
    long long sizeKB = 0;
    /// Column 1: the size in KB in the format "##,##0".
    QString size;
    /// Column 2: "DurationFormated" of the file information.
    QString length;
    /// Column 3: "Bitrate".
    QString bitrate;
    /// Column 4: "SampleRate".
    QString frequency;
    /// Column 5: "ChannelMode".
    QString mode;
    /// "Duration" rounded to whole seconds (halves to even), added to the totals line.
    long long durationSeconds = 0;
    /// The file carries an ID3v1 trailer.
    bool hasV1 = false;
    /// The file carries an ID3v2 tag.
    bool hasV2 = false;
    /// True when the audio columns were read (only on the directory page).
    bool audioRead = false;
    /// True when the audio columns come from the stream analyzer, false for the built-in reader.
    bool usedAnalyzer = false;
    /// True when neither the built-in reader nor the analyzer found an audio frame: the file is
    /// named like an MP3 file but is damaged or holds no audio.
    bool noAudioFrame = false;
    /// The file cannot be read (no permission): no tags or audio columns, "Unreadable" as its
    /// length; it still counts in the totals line.
    bool unreadable = false;
    /// The small icon's key: "FileIcon", "FileIconTag", "FileIconTagV2" or "FileIconTagV1+2";
    /// "warning" for a file without audio frame.
    QString iconKey;

    /// The tag state as a word: "none", "v1", "v2", "v1+v2", or "unreadable".
    [[nodiscard]] QString tagState() const;
};

/// The icon key of a file row for the tags it carries.
[[nodiscard]] QString fileIconKey(bool hasV1, bool hasV2);

/// The length column of a file that cannot be read: "Unreadable".
[[nodiscard]] QString unreadableText();

/// The key of the placeholder row shown when a scan finds no file.
[[nodiscard]] QString noFileKey();
/// The text of the placeholder row: "No MP3 files in this directory...".
[[nodiscard]] QString noFileText();

/// The totals line for n rows, a KB total and a seconds total:
/// "MP3 files found : n   -   Total size : m MB   -   Total length : mm:ss".
[[nodiscard]] QString totalsLineText(int count, long long totalKB, long long totalSeconds);
/// The totals line shown before a scan: "MP3 files found : 0   -   Total size : 0 MB   -   Total length : 0:00".
[[nodiscard]] QString totalsZeroText();
/// The totals line when the folder cannot be read: "MP3 files found : n  /  Total size : 0 MB)".
[[nodiscard]] QString totalsFailureText(int count);

/// The order of the listed names.
enum class ListingOrder {
    /// As the file system hands them over (the window sorts its rows itself).
    Enumeration,
    /// By file name ascending, ignoring letter case first (as the list view shows them).
    FileName,
};

/// What a scan reads.
struct ListingOptions
{
    /// Fill the audio columns and the totals line; false while a page other than the
    /// directory page is shown (rows then get names and icons only).
    bool audioColumns = true;
    ListingOrder order = ListingOrder::FileName;
    /// Threads reading files side by side; 0 for the machine's cores, 1 for none.
    int threads = 0;
};

/// What a scan found.
struct ListingResult
{
    /// The rows in listing order.
    QList<ListedFile> files;
    /// The totals line after the last file (the zero text when no audio columns were read).
    QString totalsLine;
    /// False when the folder could not be read at all; totalsLine then holds the failure text.
    bool folderReadable = true;
    /// One warning per thing an interrupted run left in the folder (nothing is changed).
    QStringList warnings;
};

/// Called after each file with the new row, its index from 0 and the totals line so far.
using ListingCallback = std::function<void(const ListedFile &file, int index, const QString &totalsLine)>;

/// The names of the MP3 files in a folder: entries matching "*.mp3" in any letter case, hidden
/// (dot) files and folders left out. Sets *readable to false when the folder cannot be read.
[[nodiscard]] QStringList findMp3Files(const QString &folder, ListingOrder order, bool *readable = nullptr);

/// Reads one file's row: tag state and icon, and with audioColumns its size and audio columns.
/// The file is opened once; no tag frame is parsed. Safe to call from several threads at once.
[[nodiscard]] ListedFile readListedFile(const QString &folder, const QString &fileName, bool audioColumns);

/// Reads a file's audio properties for the keyword access and returns whether they are to be
/// taken from the analyzer (true) or the built-in reader (false): the analyzer when the loaded
/// ID3v2 tag holds a picture, the built-in reader otherwise; a file the built-in reader finds no
/// frame in is read by the analyzer, and a file the analyzer fails on by the built-in reader.
/// Pass a fresh analyzer per file.
bool readAudioProperties(const QString &path, const ID3Edit &tagV2, XAnalyzer::Analysis &analyzer);
/// The same, told whether the file's ID3v2 tag holds a picture.
bool readAudioProperties(const QString &path, bool tagHasPicture, XAnalyzer::Analysis &analyzer);

/// Scans a folder: every MP3 file's row in the chosen order, the callback (on the calling
/// thread) after each file, and the totals line growing file by file. onFound hears how many
/// files there are to read before the first is read.
ListingResult listDirectory(const QString &folder, const ListingOptions &options = {},
                            const ListingCallback &onFile = {}, const std::function<void(int found)> &onFound = {});
/// The same for names already found in the folder (by findMp3Files), listed in their order.
ListingResult listFiles(const QString &folder, const QStringList &names, const ListingOptions &options = {},
                        const ListingCallback &onFile = {});
