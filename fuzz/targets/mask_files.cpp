// The mask files beside the program: the bytes as "Masks/User.ini" read into the mask
// drop-down, the editor's list saved and read again.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "foundation/MessageGateway.h"
#include "naming/MaskFiles.h"

int Fuzz::mask_files(const std::uint8_t *data, std::size_t size)
{
    static const bool quiet = [] {
        // An "Error" box would wait for a user: every message is answered at once.
        Msg::setPresenter([](const Msg::Message &m) { return m.defaultButton.value_or(Msg::firstButton(m.buttons)); });
        return true;
    }();
    (void)quiet;
    const QString scratch = FuzzSupport::freshScratch();
    FuzzSupport::writeFile(scratch + QStringLiteral("/app/Masks"), QStringLiteral("User.ini"),
                           FuzzSupport::bytes(data, size));
    const QList<MaskEntry> entries = readMaskInfo();
    FUZZ_CHECK(entries.size() >= 12);
    for (const MaskEntry &e : entries)
        FUZZ_CHECK(!e.text.isEmpty() && e.text.size() <= 254);

    const QList<EditorMask> list = editorListFromEntries(entries);
    saveMasks(list);
    FUZZ_CHECK(readMaskInfo() == entriesFromEditorList(list));
    const MaskChoice choice = chooseRememberedMask(entries, entries.first().text);
    FUZZ_CHECK(choice.index == 0);
    return 0;
}
