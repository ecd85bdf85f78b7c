#pragma once
// One file's analysis by the stream analyzer (audio/XAnalyzer.h): setting Filename analyses the file with our own MPEG stream
// analyzer (ID3v2 tags skipped, first frame verified by the next one, Xing/Info and VBRI
// headers read) and fills the members. A bad file never raises an error: it is reported
// through HadError and ErrorDescription.

#include <QString>

class Mp3FileBytes;

namespace XAnalyzer {

class Analysis
{
public:
    /// "MPEG1", "MPEG2", "MPEG2.5" or "UNKNOWN".
    [[nodiscard]] QString MPegLevel() const { return mpegLevel_; }
    /// The layer number (1, 2 or 3).
    [[nodiscard]] int MPegLayer() const { return mpegLayer_; }
    /// The description of the last failure; empty after a successful analysis.
    [[nodiscard]] QString ErrorDescription() const { return errorDescription_; }
    /// True when the last analysis failed.
    [[nodiscard]] bool HadError() const { return hadError_; }
    /// The bitrate in bit/s (the average for a variable bitrate).
    [[nodiscard]] int BitRate() const { return bitRate_; }
    /// The sample rate in Hz.
    [[nodiscard]] int Frequency() const { return frequency_; }
    /// The playing time in seconds.
    [[nodiscard]] double Duration() const { return duration_; }
    /// "Stereo", "Joint Stereo", "Dual Channel", "Mono" or "Unknown".
    [[nodiscard]] QString Mode() const { return mode_; }
    /// The channel count.
    [[nodiscard]] int Channels() const { return channels_; }
    /// True when the stream has a variable bitrate.
    [[nodiscard]] bool VariableBitRate() const { return variableBitRate_; }

    /// The analysed file.
    [[nodiscard]] QString Filename() const { return filename_; }
    /// Stores the name and analyses the file; on failure the other members keep their values.
    void setFilename(const QString &filename);
    /// The same for a file whose bytes the caller has already opened.
    void analyse(const QString &filename, Mp3FileBytes &file);

    /// The analyzer's status code of the last analysis (0 or -8 success; -4 no such file,
    /// -5 cannot open, -9 no frame start).
    [[nodiscard]] int LastStatus() const { return lastStatus_; }

private:
    QString filename_;
    QString mpegLevel_;
    int mpegLayer_ = 0;
    QString errorDescription_;
    bool hadError_ = false;
    int bitRate_ = 0;
    int frequency_ = 0;
    double duration_ = 0.0;
    QString mode_;
    int channels_ = 0;
    bool variableBitRate_ = false;
    int lastStatus_ = 0;
};

} // namespace XAnalyzer
