#pragma once
// Inside the track-list reader: the lines of one candidate list, collected in order.

#include "lookup/TrackListReader.h"

#include <QRegularExpression>

#include <functional>

namespace TrackList {

/// The lines of one list: tracks with their numbering, the header that names the columns.
struct Collected
{
    struct Entry
    {
        QString title;
        int lengthMs = 0;
        bool numbered = false;
        /// For a line that starts with bare digits and a blank ("99 Luftballons"): the title
        /// with them, for a list whose other lines are not numbered.
        QString withNumber;
    };
    QList<Entry> entries;
    TrackLine header;
    int numbered = 0;
    int withLength = 0;
    bool capped = false;

    /// Reads one line into the list; false once the list holds MaxTracks tracks.
    bool add(const QStringList &cells, bool implicitlyNumbered = false);
    /// Only the numbered entries, when most entries are numbered (the others are notes); when
    /// few are, their leading digits belong to their titles.
    void keepNumberedWhenMost();
    /// The captured tracks; notes for what was cut.
    void into(CapturedAlbum &album) const;
};

/// Tracks written over several lines, as a player's list copies: the number alone, the title,
/// perhaps the artist, the length alone ("1", "Cattail", "Marsh Hollow", "4:12"). Once a second
/// block numbered right after the first begins, each block goes on as one line ("1.\tCattail\t4:12");
/// all other lines go on as they are.
class StackedLines
{
public:
    /// out takes each line; it returns false to stop the reading.
    explicit StackedLines(std::function<bool(const QString &)> out);
    /// False once out has said stop.
    bool push(const QString &line);
    /// Passes on what is held back; call it after the last line.
    bool finish();

private:
    static constexpr int MaxBlockLines = 8;
    [[nodiscard]] static QString titleOf(const QStringList &block);
    [[nodiscard]] static QString joined(const QStringList &block);
    [[nodiscard]] QString titleOf() const { return titleOf(block_); }
    [[nodiscard]] QString joined() const { return joined(block_); }

    std::function<bool(const QString &)> out_;
    /// The block being read, its number's line first; its number (0: none).
    QStringList block_;
    int number_ = 0;
    /// Blocks have been joined; the one before this had so many lines, or ended with a length.
    bool stacked_ = false;
    int previousLines_ = 0;
    bool previousEndsWithLength_ = false;
};

/// readLine, or with takeNumber false a line read as if it had no number.
[[nodiscard]] TrackLine readLineAs(const QStringList &cells, const TrackLine &header, bool takeNumber);

/// "Artist - Album" split at its first dash with blanks around it; false when there is none.
bool splitArtistAlbum(const QString &text, QString &artist, QString &album);

/// The first year 19xx or 20xx in the text; empty when none.
[[nodiscard]] QString yearIn(const QString &text);

/// A value of the album fields as the record takes it: one line, bounded.
[[nodiscard]] QString fieldValue(const QString &text);

} // namespace TrackList
