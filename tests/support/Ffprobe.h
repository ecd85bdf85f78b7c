#pragma once
// What ffprobe and mutagen report for the audio stream of a file: second and third opinions on
// the audio readers.

#include <QString>

#include <optional>

struct ProbedAudio {
    int sampleRate = 0;
    int channels = 0;
    double seconds = 0;
    int bitrate = 0; ///< bit/s
};

/// True when ffprobe is installed.
[[nodiscard]] bool haveFfprobe();

/// ffprobe's figures for the first audio stream, or nothing when ffprobe is missing or fails.
[[nodiscard]] std::optional<ProbedAudio> probeAudio(const QString &path);

/// True when python3 can import mutagen.
[[nodiscard]] bool haveMutagen();

/// mutagen's figures for the file (its MP3 reader), or nothing when it is missing or fails.
[[nodiscard]] std::optional<ProbedAudio> mutagenAudio(const QString &path);
