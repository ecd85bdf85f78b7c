#include "audio/LoadedTags.h"
#include "foundation/Common.h"
#include "lookup/SiteReaders.h"
#include "naming/NamingText.h"

using namespace Qt::StringLiterals;

SearchInput SearchInput::forSelectedFile(const QString &directory, const WorkingList &files)
{
    SearchInput search;
    search.directory = directory;
    for (int i = 0; i < files.fileNames.size() && i < files.selected.size(); ++i) {
        if (files.selected.at(i)) {
            const LoadedTags tags(Common::addBackslash(directory) + files.fileNames.at(i));
            search.fileArtist = tags.value(u"Artist"_s);
            search.fileAlbum = tags.value(u"Album"_s);
            break;
        }
    }
    return search;
}

QString freedbSearchText(const SearchInput &search)
{
    return searchTextFromFolder(search.directory, true);
}

QString gracenoteSearchText(const SearchInput &search)
{
    if (search.fileArtist.isEmpty() && search.fileAlbum.isEmpty())
        return searchTextFromFolder(search.directory, true);
    return search.fileArtist + u" - "_s + search.fileAlbum;
}

QString amgSearchText(const SearchInput &search)
{
    if (search.fileAlbum.isEmpty())
        return searchTextFromFolder(search.directory, false);
    return search.fileAlbum;
}
