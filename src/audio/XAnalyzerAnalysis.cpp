#include "audio/XAnalyzerAnalysis.h"

#include "audio/Mp3FileBytes.h"
#include "audio/XAnalyzer.h"

using namespace Qt::StringLiterals;

namespace {

QString levelName(int versionCode)
{
    switch (versionCode) {
    case 0: return u"MPEG2.5"_s;
    case 1: return u"MPEG1"_s;
    case 2: return u"MPEG2"_s;
    default: return u"UNKNOWN"_s;
    }
}

QString modeName(int channelMode)
{
    switch (channelMode) {
    case 0: return u"Stereo"_s;
    case 1: return u"Joint Stereo"_s;
    case 2: return u"Dual Channel"_s;
    case 3: return u"Mono"_s;
    default: return u"Unknown"_s;
    }
}

QString describe(int status, const QString &filename, qint64 bytesExamined)
{
    const QString head = filename + u"\r\n"_s;
    switch (status) {
    case XAnalyzer::InternalError: return head + u"There was an internal error while tried to analize file"_s;
    case XAnalyzer::OutOfMemory: return head + u"Not enough memory to analize file"_s;
    case XAnalyzer::NoSuchFile: return head + u"No file was found with the name:"_s;
    case XAnalyzer::CannotOpen: return head + u"Cannot open file"_s;
    case XAnalyzer::NoFrameStart:
        // The count is the number of bytes really searched, so the message tells the truth.
        return u"Could not find frame start after looking at "_s + QString::number(bytesExamined) + u" bytes."_s;
    default:
        return u"Unknown error ("_s + QString::number(status) + u") occured while trying to analyze file."_s;
    }
}

} // namespace

void XAnalyzer::Analysis::setFilename(const QString &filename)
{
    Mp3FileBytes file(filename);
    analyse(filename, file);
}

void XAnalyzer::Analysis::analyse(const QString &filename, Mp3FileBytes &file)
{
    filename_ = filename;
    hadError_ = false;
    errorDescription_.clear();

    XAnalyzer::StreamInfo info;
    const int status = XAnalyzer::analyse(file, info);
    lastStatus_ = status;
    if (status < 0 && status != XAnalyzer::Warning) {
        hadError_ = true;
        errorDescription_ = describe(status, filename, info.bytesExamined);
        return;
    }
    const XAnalyzer::Record &r = info.record;
    mpegLevel_ = levelName(r.versionCode);
    mpegLayer_ = r.layer;
    bitRate_ = r.bitrate;
    frequency_ = r.frequency;
    duration_ = double(r.durationMs) / 1000.0;
    mode_ = modeName(r.channelMode);
    channels_ = r.channels;
    variableBitRate_ = (r.flags & XAnalyzer::VariableBitrateFlag) != 0;
}
