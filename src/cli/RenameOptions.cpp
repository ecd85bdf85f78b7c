#include "cli/RenameOptions.h"

#include "jobs/TargetProfiles.h"
#include "naming/TextEffects.h"

#include <QSet>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;

namespace {

/// A whole number in [low, high], or nothing.
std::optional<int> boundedNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

/// The profile's options, for those the arguments do not give themselves.
QString applyProfile(const QSet<QString> &given, RenameCommandOptions &options)
{
    const TargetProfile *profile = targetProfile(options.profile);
    if (!profile)
        return u"--profile takes %1, not '%2'"_s.arg(targetProfileNames(u", "_s), options.profile);
    if (profile->tagVersions && !given.contains(u"--id3"_s))
        options.id3Mode = *profile->tagVersions;
    if (profile->id3v2Version && !given.contains(u"--id3v2"_s))
        options.id3v2Version = *profile->id3v2Version;
    if (profile->embedCover && !given.contains(u"--embed-cover"_s))
        options.embedCover = *profile->embedCover;
    options.coverFit = profile->coverFit;
    if (profile->joliet && !given.contains(u"--joliet"_s))
        options.joliet = *profile->joliet;
    if (profile->replaceSpaces && !*profile->replaceSpaces && !given.contains(u"--replace-spaces"_s))
        options.replaceSpaces.reset();
    return {};
}

} // namespace

QString parseId3v2Version(const QString &text, ID3v2Version &version)
{
    bool ok = false;
    const std::optional<ID3v2Version> parsed = id3v2VersionFromNumber(text.trimmed().toInt(&ok));
    if (!ok || !parsed)
        return u"--id3v2 expects 3 (ID3v2.3) or 4 (ID3v2.4), not '%1'"_s.arg(text);
    version = *parsed;
    return {};
}

namespace {

using Setter = std::function<QString(const QString &)>;
using ValueOptions = std::map<QString, Setter>;
using FlagOptions = std::map<QString, std::function<void()>>;

Setter numberIn(const QString &name, int low, int high, const std::function<void(int)> &store)
{
    return [=](const QString &value) {
        const auto n = boundedNumber(value, low, high);
        if (!n)
            return u"%1 expects a number from %2 to %3, not '%4'"_s.arg(name).arg(low).arg(high).arg(value);
        store(*n);
        return QString();
    };
}

Setter textInto(std::optional<QString> &slot)
{
    return [&slot](const QString &value) {
        slot = value;
        return QString();
    };
}

Setter pathInto(QString &slot)
{
    return [&slot](const QString &value) {
        slot = value;
        return QString();
    };
}

// The options that take a value, each with what it does to the options.
ValueOptions valueOptions(RenameCommandOptions &options, std::optional<QString> &profile)
{
    return {
        {u"--mask"_s, textInto(options.mask)},
        {u"--dest"_s, [&](const QString &v) {
             if (v.trimmed().isEmpty())
                 return u"--dest expects \"MP3 directory\", \"Parent directory\" or a folder"_s;
             options.destination = v;
             return QString();
         }},
        {u"--text-effect"_s, numberIn(u"--text-effect"_s, 0, 3, [&](int n) { options.textEffect = textEffectAt(n); })},
        {u"--replace-spaces"_s, numberIn(u"--replace-spaces"_s, 0, 2, [&](int n) { options.replaceSpaces = spaceReplacementAt(n); })},
        {u"--id3"_s, numberIn(u"--id3"_s, 1, 3, [&](int n) { options.id3Mode = *tagVersionsFromNumber(n); })},
        {u"--playlist"_s, numberIn(u"--playlist"_s, 0, 1, [&](int n) { options.playlistDir = n; })},
        {u"--cover"_s, pathInto(options.coverFile)},
        {u"--cover-dir"_s, numberIn(u"--cover-dir"_s, 0, 1, [&](int n) { options.coverDir = n; })},
        {u"--html"_s, numberIn(u"--html"_s, 0, 1, [&](int n) { options.htmlDir = n; })},
        {u"--artist"_s, textInto(options.artist)},
        {u"--album"_s, textInto(options.album)},
        {u"--year"_s, textInto(options.year)},
        {u"--genre"_s, textInto(options.genre)},
        {u"--comment"_s, textInto(options.comment)},
        {u"--titles"_s, pathInto(options.titlesFile)},
        {u"--only"_s, [&](const QString &v) {
             options.only.append(v);
             return QString();
         }},
        {u"--lookup"_s, pathInto(options.lookupUrl)},
        {u"--pairing"_s, [&](const QString &v) {
             if (v != u"position" && v != u"auto" && v != u"best")
                 return u"--pairing takes position, auto or best, not '%1'"_s.arg(v);
             options.pairing = v;
             return QString();
         }},
        {u"--timeout"_s, numberIn(u"--timeout"_s, 1, 3600, [&](int n) { options.lookupTimeout = n; })},
        {u"--capture"_s, pathInto(options.captureUrl)},
        {u"--id3v2"_s, [&](const QString &v) { return parseId3v2Version(v, options.id3v2Version); }},
        {u"--profile"_s, textInto(profile)},
        {u"--from-text"_s, [&](const QString &v) {
             options.fromTextFile = v;
             return v.isEmpty() ? u"--from-text needs a file, or - for standard input"_s : QString();
         }},
    };
}

FlagOptions flagOptions(RenameCommandOptions &options)
{
    return {
        {u"--no-total-tracks"_s, [&] { options.totalTracks = false; }},
        {u"--joliet"_s, [&] { options.joliet = true; }},
        {u"--dry-run"_s, [&] { options.dryRun = true; }},
        {u"--auto-order"_s, [&] { options.autoOrder = true; }},
        {u"--search"_s, [&] { options.search = true; }},
        {u"--best"_s, [&] { options.best = true; }},
        {u"--yes"_s, [&] { options.yes = true; }},
        {u"--preflight"_s, [&] { options.preflight = true; }},
        {u"--embed-cover"_s, [&] { options.embedCover = true; }},
    };
}

// Reads the arguments in order ("--name value", "--name=value", flags, the folder, "--" before
// a folder that starts like an option); `given` gets the name of every option met.
QString readArguments(const QStringList &args, const ValueOptions &withValue, const FlagOptions &flags,
                      RenameCommandOptions &options, QSet<QString> &given)
{
    bool onlyPositional = false;
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        if (!onlyPositional && arg == u"--") {
            onlyPositional = true;
            continue;
        }
        if (onlyPositional || !arg.startsWith(u"--")) {
            if (!options.folder.isEmpty())
                return u"rename takes one folder; unexpected argument '%1'"_s.arg(arg);
            options.folder = arg;
            continue;
        }
        QString value;
        bool inlineValue = false;
        const auto eq = arg.indexOf(u'=');
        if (eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            inlineValue = true;
        }
        if (const auto flag = flags.find(arg); flag != flags.end()) {
            if (inlineValue)
                return u"%1 takes no value"_s.arg(arg);
            flag->second();
            given.insert(arg);
            continue;
        }
        const auto option = withValue.find(arg);
        if (option == withValue.end())
            return u"unknown option '%1' (see varnelt-cli --help)"_s.arg(arg);
        if (!inlineValue) {
            if (i + 1 >= args.size())
                return u"%1 needs a value"_s.arg(arg);
            value = args.at(++i);
        }
        given.insert(arg);
        if (const QString problem = option->second(value); !problem.isEmpty())
            return problem;
    }
    return {};
}

// The options that only make sense together, or that exclude each other.
QString checkCombinations(const RenameCommandOptions &options, const QSet<QString> &given)
{
    if (given.contains(u"--embed-cover"_s) && options.coverFile.isEmpty() && !options.fromLookup())
        return u"--embed-cover needs --cover FILE or a lookup's cover"_s;
    if (given.contains(u"--cover-dir"_s) && options.coverFile.isEmpty() && !options.fromLookup())
        return u"--cover-dir needs --cover FILE"_s;
    const int sources = int(!options.lookupUrl.isEmpty()) + int(!options.captureUrl.isEmpty())
                        + int(!options.fromTextFile.isEmpty()) + int(!options.titlesFile.isEmpty()) + int(options.search);
    if (sources > 1)
        return u"--lookup, --capture, --from-text, --search and --titles all give the titles: choose one"_s;
    if (options.search != options.best)
        return u"rename takes --search with --best: it renames with the best candidate"_s;
    if (!options.pairing.isEmpty() && !options.fromLookup())
        return u"--pairing goes with a lookup (--lookup, --capture, --from-text or --search)"_s;
    return {};
}

} // namespace

QString parseRenameOptions(const QStringList &args, RenameCommandOptions &options)
{
    std::optional<QString> profile;
    QSet<QString> given;
    if (const QString problem = readArguments(args, valueOptions(options, profile), flagOptions(options), options, given);
        !problem.isEmpty())
        return problem;
    if (options.folder.isEmpty())
        return u"rename needs a folder: varnelt-cli rename DIR [options]"_s;
    if (profile) {
        options.profile = *profile;
        if (const QString problem = applyProfile(given, options); !problem.isEmpty())
            return problem;
    }
    return checkCombinations(options, given);
}
