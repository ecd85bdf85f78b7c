#include "GenreCombo.h"

#include "audio/ID3Edit.h"

#include <QComboBox>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
constexpr int NoGenre = 254;
}

void fillGenreList(QComboBox *combo)
{
    struct Entry {
        QString name;
        int number;
    };
    const QStringList &names = ID3Edit::genreNames();
    QList<Entry> entries;
    entries.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        entries.append({names.at(i), i});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });

    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItem(QString(), NoGenre);
    for (const Entry &e : entries)
        combo->addItem(e.name, e.number);
    combo->setCurrentIndex(0);
}
