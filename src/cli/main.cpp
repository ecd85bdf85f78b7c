// varnelt-cli: the program's core without windows.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/EngineModule.h"
#include "foundation/Version.h"
#include "jobs/TagEditing.h"
#include "pictures/PictureFitting.h"

#include "cli/LookupRun.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const char *const kUsage =
    "Usage: varnelt-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  list DIR            list the MP3 files of a folder, one line each, fields separated by a tab:\n"
    "                      name, size (KB), length, bitrate, frequency, mode, tag state\n"
    "                      (none, v1, v2, v1+v2); then the totals line\n"
    "  tags FILE           show a file's ID3v1 and ID3v2 fields and its file information,\n"
    "                      one \"label: value\" a line (line breaks in a value written as \\n)\n"
    "  tag DIR [opts]      change the tags of the MP3 files of DIR (in file name order) as the\n"
    "                      tag editor's commands do; one line per file: what was written, or\n"
    "                      why not\n"
    "  masks               list the naming masks: User or Default, a tab, the mask\n"
    "  rename DIR [opts]   rename, move and tag the album in DIR, then print the result log\n"
    "                      (two spaces per level, each line starting with its kind in brackets)\n"
    "                      and the summary line\n"
    "  lookup DIR URL [opts]\n"
    "                      open URL in the embedded browser (no window), submit the search on a\n"
    "                      site's search page and read the first album page recognised; print\n"
    "                      \"artist: \", \"album: \", \"genre: \", \"year: \", \"cover: \" lines, one line\n"
    "                      per track (row text, a tab, the paired file) and the album score\n"
    "  lookup DIR URL --capture [opts]\n"
    "                      open URL and read the track list the page shows (any page; on a\n"
    "                      site's search page after the search is submitted); printed as above\n"
    "  lookup DIR --from-text FILE [opts]\n"
    "                      read a pasted track list from FILE (- for standard input), one track a\n"
    "                      line; printed as above. No track list found: exit status 1\n"
    "  lookup DIR --search [--artist TEXT] [--album TEXT] [--timeout S] [--only NAME]\n"
    "                      search MusicBrainz for the folder's album (no browser) and print the\n"
    "                      candidates best first, one a line: score (0-1000), MBID, artist,\n"
    "                      album, year, track count, separated by tabs; none found: exit 1\n"
    "  lookup DIR --search --best\n"
    "                      read the best candidate and print its record as above, paired by\n"
    "                      best match\n"
    "  --pairing position|auto|best (every lookup; --auto-order is auto)\n"
    "                      best pairs every file by title, track number and length; each\n"
    "                      paired row then ends with a tab, the pair's score (0-100), a tab and\n"
    "                      its reason\n"
    "  undo                undo the last change not undone yet (an album rename, a tag save or\n"
    "                      batch, a list rename or deletion) from its journal: every file back at\n"
    "                      its old path with its old bytes, written playlist and cover removed (an\n"
    "                      earlier one put back), made folders removed, a removed old folder made\n"
    "                      again; prints a \"[restored] \" or \"[left] \" line per item; a file\n"
    "                      changed since is left; exit 0 all restored, 1 something left, 2 nothing\n"
    "                      to undo\n"
    "  undo --list         list the recorded changes (the last 100), newest first: id, date, kind,\n"
    "                      folder, file count, state (finished, interrupted, undone, partly\n"
    "                      undone, damaged), separated by tabs\n"
    "  undo ID             undo the change with that id\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Options of rename:\n"
    "  --mask TEXT         naming mask (default: the remembered \"Last Mask\", else the first mask)\n"
    "  --dest TEXT         \"MP3 directory\", \"Parent directory\" (default) or a folder\n"
    "  --text-effect N     0 Abc Def, 1 aBc DeF, 2 abc def, 3 ABC DEF (default: none)\n"
    "  --replace-spaces N  0 underscores, 1 points, 2 nothing (default: spaces stay)\n"
    "  --id3 N             tags written: 1 ID3v1, 2 ID3v2, 3 both (default 3)\n"
    "  --no-total-tracks   write the ID3v2 track without \"/total\"\n"
    "  --playlist N        write a .pls playlist: 0 into the album folder, 1 into the folder above\n"
    "  --cover FILE        copy this picture as the album cover; --cover-dir N as for --playlist\n"
    "  --html N            write an HTML page of the album (.htm), placed as for --playlist\n"
    "  --joliet            keep file names to 64 characters for CD burning\n"
    "  --id3v2 N           ID3v2 revision written: 3 (ID3v2.3, default) or 4 (ID3v2.4, UTF-8)\n"
    "  --embed-cover       put the cover (--cover FILE or the lookup's) into every file's tag\n"
    "                      as its front cover, replacing an earlier front cover\n"
    "  --profile NAME      a target's options, for those not given: standard, car (ID3v1 +\n"
    "                      ID3v2.3, cover <= 300 px and 100 KB baseline JPEG, --joliet),\n"
    "                      portable (2.3, cover <= 600 px, 300 KB), modern (2.4 only, cover\n"
    "                      <= 1200 px), archive (ID3v1 + 2.4, cover as it came)\n"
    "  --artist, --album, --year, --genre, --comment TEXT\n"
    "                      album fields (default: from the first file's tags; comment empty)\n"
    "  --titles FILE       track titles, one a line in track order, paired with the files by\n"
    "                      position (files beyond the titles keep their tag title)\n"
    "  --only NAME         use only this file (repeatable)\n"
    "  --dry-run           print each file's new path and change nothing\n"
    "  --preflight         check the whole album first and change nothing: print the plan (each\n"
    "                      file's old and new path, the folders to create) and the problems\n"
    "                      under a [preflight] node; exit status 0 without problems, 1 with\n"
    "                      (warnings alone give 0)\n"
    "  --lookup URL        take the album from a lookup of URL, as lookup prints it, handed over\n"
    "                      as the track list's OK hands it over (its cover is downloaded into\n"
    "                      \"Download\" and copied); --only, --auto-order and --timeout S as for\n"
    "                      lookup; not with --titles\n"
    "  --capture URL       take the album from the track list on the page at URL, as\n"
    "                      \"lookup DIR URL --capture\" reads it\n"
    "  --from-text FILE    take the album from a pasted track list (- for standard input)\n"
    "  --search --best     take the album of the best candidate of \"lookup DIR --search\"\n"
    "                      (paired by best match); --pairing as for lookup\n"

    "  --yes               answer Yes to questions (see below)\n"
    "\n"
    "Options of tag (one operation: --fill, --set, --number, --copy or --remove):\n"
    "  --mode N            tags written or removed: 1 ID3v1, 2 ID3v2, 3 both (default 3)\n"
    "  --id3v2 N           ID3v2 revision written: 3 (default) or 4\n"
    "  --fill FIELD=VALUE  fill this field of every file (repeatable); FIELD is v1: or v2: and a\n"
    "                      field of tags (v1:Album, v2:Composer, ...); v2:Picture=FILE fills the\n"
    "                      picture (JPEG, PNG, GIF or BMP, up to 16 MiB; empty FILE clears it);\n"
    "                      titles and lyrics have no fill\n"
    "  --set FIELD=VALUE   save one file (exactly one --only) with these fields changed, titles\n"
    "                      included (repeatable)\n"
    "  --number            number the tracks 1, 2, ... in file order; --total adds \"/total\"\n"
    "                      to the ID3v2 track\n"
    "  --copy DIRECTION    v1-to-v2 or v2-to-v1: copy the fields between the tag versions\n"
    "  --remove            remove the tags the mode names\n"
    "  --only NAME         use only this file (repeatable), as \"&Use only selected files\"\n"
    "  --yes               answer Yes to the operation's question (--set asks none)\n"
    "\n"
    "Options of lookup:\n"
    "  --only NAME         use only this file (repeatable), as \"&Use only selected files\"\n"
    "  --auto-order        pair files and titles by their similarity before printing\n"
    "  --timeout S         give up after S seconds (default 30)\n"
    "Site addresses come from the settings group \"Sites\" (see the README).\n"
    "\n"
    "Messages go to standard error. Nobody is asked: questions are answered No (Cancel where\n"
    "offered), so nothing happens that would need a user's consent; with --yes they are\n"
    "answered Yes. Without --titles, files of more than one album stop the rename unless --yes.\n"
    "Before changing anything, rename checks every file (source there and readable, new name free\n"
    "and not too long, folders creatable and writable, free space for rewritten tags, playlist\n"
    "and cover): problems are printed as [error] lines under a [preflight] node and stop the\n"
    "rename with exit status 1, unless --yes (then the files with problems fail, the others are\n"
    "done). It also warns, as [warning] lines that stop nothing, about track numbers used twice or\n"
    "missing, files whose tags name another artist or album, files of another sample rate or of\n"
    "VBR among CBR (or the reverse), and files far longer or shorter than their tracks' lengths.\n"
    "\n"
    "Exit status: 0 success, 1 the job logged errors (or was stopped), a file of tag failed\n"
    "(or its question was answered No) or a lookup recognised no album page in time, 2 bad\n"
    "usage, a missing folder or a rename of a folder without MP3 files (list shows an empty\n"
    "folder's zero totals).\n"
    "Settings and mask files are the desktop program's own.\n";
} // namespace

int main(int argc, char **argv)
{
    // Only the commands that look an album up start the embedded engine, which needs a GUI
    // application (on the offscreen platform when there is no display).
    // Pasted text needs no page.
    const auto given = [argc, argv](const char *option) {
        const qsizetype length = qstrlen(option);
        return std::any_of(argv + 2, argv + argc, [option, length](const char *a) {
            return qstrncmp(a, option, length) == 0 && (a[length] == 0 || a[length] == '=');
        });
    };
    const bool engine = argc > 1 && ((qstrcmp(argv[1], "lookup") == 0 && !given("--from-text") && !given("--search"))
                                     || (qstrcmp(argv[1], "rename") == 0 && (given("--lookup") || given("--capture"))));
    std::unique_ptr<QCoreApplication> application;
    if (engine) {
        prepareEngineEnvironment();
        QString error;
        const auto make = reinterpret_cast<EngineModule::MakeApplication>(
            EngineModule::resolve("varneltEngineApplication", &error));
        if (!make) {
            Cli::err() << "varnelt-cli: " << error << Qt::endl;
            return Cli::JobErrors;
        }
        application.reset(make(argc, argv));
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setOrganizationName(u"Varnelt"_s);
    QCoreApplication::setApplicationName(u"Varnelt"_s);
    // Pictures given to a tag are decoded (and covers scaled) as the window does it.
    PictureFitting::install();
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        Cli::err() << kUsage;
        return Cli::Usage;
    }
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    if (command == u"--help" || command == u"-h") {
        Cli::out() << kUsage;
        return Cli::Success;
    }
    if (command == u"--version") {
        Cli::out() << "varnelt-cli " << Version::number() << Qt::endl;
        return Cli::Success;
    }
    if (command == u"list")
        return runListCommand(rest);
    if (command == u"tags")
        return runTagsCommand(rest);
    if (command == u"tag")
        return runTagCommand(rest);
    if (command == u"masks")
        return runMasksCommand(rest);
    if (command == u"rename")
        return runRenameCommand(rest);
    if (command == u"lookup")
        return runLookupCommand(rest);
    if (command == u"undo")
        return runUndoCommand(rest);
    return Cli::fail(u"unknown command '%1' (see varnelt-cli --help)"_s.arg(command));
}
