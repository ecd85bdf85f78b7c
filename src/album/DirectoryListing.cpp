#include "album/DirectoryListing.h"

#include "audio/ID3Edit.h"
#include "audio/Mp3FileBytes.h"
#include "audio/Mp3InfoVBR.h"
#include "audio/TagAccess.h"
#include "audio/TagVersions.h"
#include "audio/XAnalyzerAnalysis.h"
#include "foundation/Basic.h"
#include "foundation/OrderedWork.h"
#include "album/LeftoverScan.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

QString ListedFile::tagState() const
{
    if (unreadable)
        return u"unreadable"_s;
    return byTagState(hasV1, hasV2, u"v1+v2"_s, u"v1"_s, u"v2"_s, u"none"_s);
}

QString fileIconKey(bool hasV1, bool hasV2)
{
    return byTagState(hasV1, hasV2, u"FileIconTagV1+2"_s, u"FileIconTag"_s, u"FileIconTagV2"_s, u"FileIcon"_s);
}

QString unreadableText()
{
    return u"Unreadable"_s;
}

QString noFileKey()
{
    return u"NoFile"_s;
}

QString noFileText()
{
    return u"No MP3 files in this directory..."_s;
}

QString totalsLineText(int count, long long totalKB, long long totalSeconds)
{
    const long long megabytes = Basic::roundEven(double(totalKB) / 1024.0);
    return u"MP3 files found : "_s + QString::number(count) + u"   -   Total size : "_s
        + QString::number(megabytes) + u" MB   -   "_s + u"Total length : "_s
        + QString::number(totalSeconds / 60) + u':' + Basic::formatDigits(totalSeconds % 60, 2);
}

QString totalsZeroText()
{
    return totalsLineText(0, 0, 0);
}

QString totalsFailureText(int count)
{
    return u"MP3 files found : "_s + QString::number(count) + u"  /  Total size : 0 MB)"_s;
}

QStringList findMp3Files(const QString &folder, ListingOrder order, bool *readable)
{
    QDir dir(folder);
    const bool ok = !folder.isEmpty() && dir.exists() && QFileInfo(folder).isReadable();
    if (readable)
        *readable = ok;
    if (!ok)
        return {};
    // QDir leaves hidden entries out unless asked; on POSIX that means every dot file.
    dir.setFilter(QDir::Files);
    dir.setNameFilters({u"*.mp3"_s});
    dir.setSorting(QDir::Unsorted);
    QStringList names;
    names.reserve(20);
    const QFileInfoList entries = dir.entryInfoList();
    for (const QFileInfo &entry : entries) {
        // The name filter is case-insensitive on every platform; check the suffix anyway so a
        // filter quirk can never list "x.mp3.bak".
        if (entry.fileName().endsWith(u".mp3"_s, Qt::CaseInsensitive))
            names.append(entry.fileName());
    }
    if (order == ListingOrder::FileName) {
        std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
            const int c = a.compare(b, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a < b;
        });
    }
    return names;
}

bool readAudioProperties(const QString &path, const ID3Edit &tagV2, XAnalyzer::Analysis &analyzer)
{
    return readAudioProperties(path, !tagV2.Picture().isNull(), analyzer);
}

bool readAudioProperties(const QString &path, bool tagHasPicture, XAnalyzer::Analysis &analyzer)
{
    // The analyzer reads files whose ID3v2 tag holds a picture (a large tag can hide the audio
    // from the built-in reader). When it fails, its members still hold the previous file's
    // values: those must never be shown, so the built-in reader answers instead.
    bool analyzed = false;
    auto analyze = [&] {
        if (!analyzed) {
            analyzer.setFilename(path);
            analyzed = true;
        }
        return !analyzer.HadError();
    };
    bool useAnalyzer = tagHasPicture && analyze();
    // The built-in reader knows only MPEG-1 Layer III near the start of the file; a valid
    // MPEG-2 file or one with a long lead-in still gets its values from the analyzer.
    if (!useAnalyzer && Mp3InfoVBR::readMpegInfo(path).sampleRate == 0)
        useAnalyzer = analyze();
    return useAnalyzer;
}

namespace {

/// Fills the four audio columns and the rounded duration: from the built-in reader when it
/// finds a confirmed frame, else from the analyzer, both on the bytes already read.
void fillAudioColumns(ListedFile &file, Mp3FileBytes &bytes)
{
    const Mp3InfoVBR::Reading reading = Mp3InfoVBR::read(bytes);
    XAnalyzer::Analysis analyzer;
    bool useAnalyzer = false;
    // When the analyzer fails too, the built-in reader's empty record is shown: never values
    // left over from another file.
    if (!reading.found) {
        analyzer.analyse(file.path, bytes);
        useAnalyzer = !analyzer.HadError();
        // Neither reader found a frame: the row must not look like a good file.
        file.noAudioFrame = !useAnalyzer;
        if (file.noAudioFrame)
            file.iconKey = u"warning"_s;
    }
    const TagKeywords::FileInfoSources sources = TagKeywords::FileInfoSources::of(reading, analyzer);
    file.length = TagKeywords::getFileInfo(u"DurationFormated"_s, useAnalyzer, sources).value.toString();
    file.bitrate = TagKeywords::getFileInfo(u"Bitrate"_s, useAnalyzer, sources).value.toString();
    file.frequency = TagKeywords::getFileInfo(u"SampleRate"_s, useAnalyzer, sources).value.toString();
    file.mode = TagKeywords::getFileInfo(u"ChannelMode"_s, useAnalyzer, sources).value.toString();
    file.durationSeconds = TagKeywords::getFileInfo(u"Duration"_s, useAnalyzer, sources).value.toLongLong();
    file.usedAnalyzer = useAnalyzer;
    file.audioRead = true;
}

} // namespace

ListedFile readListedFile(const QString &folder, const QString &fileName, bool audioColumns)
{
    ListedFile file;
    file.fileName = fileName;
    file.path = QDir(folder).filePath(fileName);
    // One open and a read of the head and of the tail serve the tag test and both readers.
    Mp3FileBytes bytes(file.path);
    file.unreadable = bytes.openState() == Mp3FileBytes::OpenState::CannotOpen
        || bytes.openState() == Mp3FileBytes::OpenState::NotAFile;
    file.hasV1 = bytes.hasV1();
    file.hasV2 = bytes.hasV2();
    file.iconKey = fileIconKey(file.hasV1, file.hasV2);
    if (!audioColumns)
        return file;
    // A file that cannot be opened still has its size, and counts in the totals with it.
    file.sizeBytes = file.unreadable ? QFileInfo(file.path).size() : bytes.size();
    file.sizeKB = Basic::roundEven(double(file.sizeBytes) / 1024.0);
    file.size = Basic::formatThousands(file.sizeKB);
    if (file.unreadable) {
        file.length = unreadableText();
        return file;
    }
    fillAudioColumns(file, bytes);
    return file;
}

ListingResult listDirectory(const QString &folder, const ListingOptions &options, const ListingCallback &onFile,
                            const std::function<void(int found)> &onFound)
{
    ListingResult result;
    result.totalsLine = totalsZeroText();
    bool readable = true;
    const QStringList names = findMp3Files(folder, options.order, &readable);
    if (!readable) {
        result.folderReadable = false;
        result.totalsLine = totalsFailureText(0);
        return result;
    }
    if (onFound)
        onFound(int(names.size()));
    result = listFiles(folder, names, options, onFile);
    for (const CrashLeftover &leftover : findCrashLeftovers(folder))
        result.warnings.append(leftoverWarningText(leftover));
    return result;
}

ListingResult listFiles(const QString &folder, const QStringList &names, const ListingOptions &options,
                        const ListingCallback &onFile)
{
    ListingResult result;
    result.totalsLine = totalsZeroText();
    long long totalKB = 0;
    long long totalSeconds = 0;
    result.files.reserve(names.size());
    // The files are read side by side; rows, totals and callbacks still come in listing order.
    OrderedWork::run<ListedFile>(
        int(names.size()), options.threads,
        [&](int i) { return readListedFile(folder, names.at(i), options.audioColumns); },
        [&](int, ListedFile &file) {
            if (options.audioColumns) {
                totalKB += file.sizeKB;
                totalSeconds += file.durationSeconds;
                result.totalsLine = totalsLineText(int(result.files.size()) + 1, totalKB, totalSeconds);
            }
            result.files.append(std::move(file));
            if (onFile)
                onFile(result.files.last(), int(result.files.size()) - 1, result.totalsLine);
        });
    return result;
}
