#include "audio/ID3.h"

ID3Tag::ID3Tag()
{
    if (ID3::highestGenreIndex() == 0)
        ID3::loadGenreTable({});
}

void ID3Tag::setFilename(const QString &filename)
{
    ReadFromFile(filename);
}

bool ID3Tag::RemoveTagFromFile()
{
    if (filename_.isEmpty())
        return false;
    return ID3::removeID3v1Tag(filename_);
}

bool ID3Tag::ReadFromFile(const QString &filename)
{
    const QString name = filename.isEmpty() ? filename_ : filename;
    if (name.isEmpty())
        return false;
    filename_ = name;
    record_ = ID3::readID3v1Tag(name);
    return record_.exists;
}

bool ID3Tag::WriteToFile(const QString &filename)
{
    const QString name = filename.isEmpty() ? filename_ : filename;
    if (name.isEmpty())
        return false;
    return ID3::writeID3v1Tag(name, record_, 0.0f, true);
}

void ID3Tag::ClearTag()
{
    record_ = ID3::ID3v1Record();
}

bool ID3Tag::setGenre(int genre)
{
    if (genre < 0 || genre > 255)
        return false;
    record_.genre = quint8(genre);
    return true;
}

QString ID3Tag::GenreName() const
{
    return ID3::genreNameOf(record_.genre);
}

qint16 ID3Tag::TheYear() const
{
    // The leading digits only: "199x" is 199, a text without digits 0. Blanks before the digits
    // are skipped as for any numeric value: some taggers right-align the year (" 999").
    qint16 year = 0;
    qsizetype start = 0;
    while (start < record_.year.size() && record_.year.at(start) == u' ')
        ++start;
    for (QChar c : QStringView(record_.year).mid(start)) {
        if (!c.isDigit() || c.unicode() > u'9')
            break;
        year = qint16(year * 10 + (c.unicode() - u'0'));
    }
    return year;
}

void ID3Tag::setTheYear(qint16 year)
{
    record_.year = QString::number(year);
}
