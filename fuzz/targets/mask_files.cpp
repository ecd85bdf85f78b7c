// The mask files beside the program: the bytes as "Masks/User.ini" read into the mask
// drop-down, the editor's list saved and read again.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "naming/MaskFiles.h"

int Fuzz::mask_files(const std::uint8_t *data, std::size_t size)
{
    const QString scratch = FuzzSupport::freshScratch();
    FuzzSupport::writeFile(scratch + QStringLiteral("/app/Masks"), QStringLiteral("User.ini"),
                           FuzzSupport::bytes(data, size));
    QStringList problems;
    const QList<MaskEntry> entries = readMaskInfo(problems);
    FUZZ_CHECK(entries.size() >= 12);
    for (const MaskEntry &e : entries)
        FUZZ_CHECK(!e.text.isEmpty() && e.text.size() <= 254);

    const QList<EditorMask> list = editorListFromEntries(entries);
    FUZZ_CHECK(saveMasks(list).isEmpty());
    FUZZ_CHECK(readMaskInfo(problems) == entriesFromEditorList(list));
    const MaskChoice choice = chooseRememberedMask(entries, entries.first().text);
    FUZZ_CHECK(choice.index == 0);
    return 0;
}
