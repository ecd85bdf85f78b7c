// The stream analyzer behind the tag page's and the listing's audio columns, and the built-in
// MPEG reader, over the bytes as an MP3 file.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "audio/Mp3InfoVBR.h"
#include "audio/XAnalyzer.h"


int Fuzz::mpeg_analyzer(const std::uint8_t *data, std::size_t size)
{
    const QString path =
        FuzzSupport::writeFile(FuzzSupport::freshScratch(), QStringLiteral("a.mp3"), FuzzSupport::bytes(data, size));
    XAnalyzer::StreamInfo info;
    const XAnalyzer::Status status = XAnalyzer::processFile(path, info);
    if (status == XAnalyzer::Ok || status == XAnalyzer::Warning) {
        FUZZ_CHECK(info.firstFrameOffset >= info.audioStart);
        FUZZ_CHECK(info.firstFrameOffset < qint64(size));
        FUZZ_CHECK(info.record.durationMs >= 0);
        FUZZ_CHECK(info.record.frequency > 0);
    }
    const Mp3InfoVBR::MpegInfo mpeg = Mp3InfoVBR::readMpegInfo(path);
    FUZZ_CHECK(mpeg.duration >= 0);
    return 0;
}
