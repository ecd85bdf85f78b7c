#include "jobs/JobJournal.h"

#include "audio/Mp3FileBytes.h"
#include "audio/TagWriteCheck.h"
#include "foundation/AppFolder.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/RenameJobFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#define XXH_INLINE_ALL
#include <xxhash.h>

using namespace Qt::StringLiterals;

namespace {

QString fullPath(const QString &path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

namespace {

const QRegularExpression &journalName()
{
    static const QRegularExpression re(u"^job-(\\d{1,9})\\.journal$"_s);
    return re;
}

QByteArray checksum(const QByteArray &json)
{
    return QCryptographicHash::hash(json, QCryptographicHash::Sha1).left(4).toHex();
}

QString b64(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

QByteArray unb64(const QJsonValue &value)
{
    return QByteArray::fromBase64(value.toString().toLatin1());
}

QString latin(const QByteArray &hex)
{
    return QString::fromLatin1(hex);
}

/// Writes all of `bytes`. A write the disk takes only in part is retried with the rest, so a
/// full disk is reported by its own reason, not as an unknown error.
bool writeWhole(QFile &file, const QByteArray &bytes, QString &error)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            error = file.errorString();
            return false;
        }
        done += n;
    }
    return true;
}

constexpr qsizetype MaxRecordBytes = JobJournal::MaxRecordBytes;

/// The permission bits of a file as the system keeps them; -1 when it cannot say.
int modeOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
#else
    Q_UNUSED(path);
    return -1;
#endif
}

void takeFileRecord(JournalContents &c, const QJsonObject &o)
{
    JournalFile f;
    f.fileNumber = o.value(u"n"_s).toInt();
    f.from = o.value(u"from"_s).toString();
    f.to = o.value(u"to"_s).toString();
    f.inPlace = o.value(u"inPlace"_s).toBool();
    f.destinationTaken = o.value(u"taken"_s).toBool();
    f.size = qint64(o.value(u"size"_s).toDouble());
    f.hashBefore = o.value(u"hash"_s).toString().toLatin1();
    f.tagRegion = unb64(o.value(u"v2"_s));
    f.trailer = unb64(o.value(u"v1"_s));
    // Anything but a whole number is no mode the job wrote.
    const QJsonValue mode = o.value(u"mode"_s);
    f.mode = mode.isDouble() && mode.toDouble() == double(mode.toInt()) ? mode.toInt() : -1;
    c.steps.append({JournalStep::Kind::File, int(c.files.size())});
    c.files.append(f);
}

JournalTrashed *trashedOf(JournalContents &c, int fileNumber)
{
    for (auto it = c.trashed.rbegin(); it != c.trashed.rend(); ++it)
        if (it->fileNumber == fileNumber)
            return &*it;
    return nullptr;
}

JournalFile *fileOf(JournalContents &c, int fileNumber)
{
    for (auto it = c.files.rbegin(); it != c.files.rend(); ++it)
        if (it->fileNumber == fileNumber)
            return &*it;
    return nullptr;
}

void takeRecord(JournalContents &c, const QJsonObject &o)
{
    const QString kind = o.value(u"k"_s).toString();
    if (kind == u"job") {
        c.valid = true;
        c.id = o.value(u"id"_s).toString();
        c.date = QDateTime::fromString(o.value(u"date"_s).toString(), Qt::ISODateWithMs);
        c.folder = o.value(u"folder"_s).toString();
        c.destination = o.value(u"dest"_s).toString();
        c.fileCount = o.value(u"files"_s).toInt();
        c.kind = ChangeKinds::fromCode(o.value(u"kind"_s).toString());
        c.description = o.value(u"what"_s).toString();
        for (const QJsonValue &v : o.value(u"roots"_s).toArray())
            c.roots.append(v.toString());
        if (c.roots.isEmpty())
            c.roots = QStringList {c.folder, c.destination};
    } else if (kind == u"case-folder") {
        c.steps.append({JournalStep::Kind::CaseFolder, int(c.caseFolders.size())});
        c.caseFolders.append({o.value(u"from"_s).toString(), o.value(u"via"_s).toString(), o.value(u"to"_s).toString()});
    } else if (kind == u"mkdir") {
        QStringList levels;
        for (const QJsonValue &v : o.value(u"levels"_s).toArray())
            levels.append(v.toString());
        c.steps.append({JournalStep::Kind::MakeFolders, int(c.madeFolders.size())});
        c.madeFolders.append(levels);
    } else if (kind == u"file") {
        takeFileRecord(c, o);
    } else if (kind == u"moved") {
        c.movedPaths.insert(o.value(u"n"_s).toInt(), o.value(u"path"_s).toString());
    } else if (kind == u"taken") {
        if (JournalFile *f = fileOf(c, o.value(u"n"_s).toInt()))
            f->destinationTaken = true;
    } else if (kind == u"tagged") {
        // "tag" tells a reader of the journal how far a row got; the undo looks at the disk for
        // that, and needs only the hash the file had once tagged.
        if (JournalFile *f = fileOf(c, o.value(u"n"_s).toInt()))
            f->hashAfter = o.value(u"hash"_s).toString().toLatin1();
    } else if (kind == u"output") {
        JournalOutput out;
        out.path = o.value(u"path"_s).toString();
        out.existed = o.value(u"existed"_s).toBool();
        out.oldBytes = unb64(o.value(u"old"_s));
        out.oldHash = o.value(u"oldHash"_s).toString().toLatin1();
        out.newHash = o.value(u"newHash"_s).toString().toLatin1();
        c.steps.append({JournalStep::Kind::Output, int(c.outputs.size())});
        c.outputs.append(out);
    } else if (kind == u"old-folder") {
        JournalOldFolder old;
        old.folder = o.value(u"folder"_s).toString();
        for (const QJsonValue &v : o.value(u"entries"_s).toArray()) {
            const QJsonObject e = v.toObject();
            old.entries.append({e.value(u"name"_s).toString(), unb64(e.value(u"data"_s)), e.value(u"movedTo"_s).toString()});
        }
        c.steps.append({JournalStep::Kind::OldFolder, int(c.oldFolders.size())});
        c.oldFolders.append(old);
    } else if (kind == u"trash-file") {
        JournalTrashed t;
        t.fileNumber = o.value(u"n"_s).toInt();
        t.path = o.value(u"path"_s).toString();
        t.size = qint64(o.value(u"size"_s).toDouble());
        t.hash = o.value(u"hash"_s).toString().toLatin1();
        c.steps.append({JournalStep::Kind::Trash, int(c.trashed.size())});
        c.trashed.append(t);
    } else if (kind == u"trash") {
        const int n = o.value(u"n"_s).toInt();
        c.movedPaths.insert(n, o.value(u"path"_s).toString());
        if (JournalTrashed *t = trashedOf(c, n)) {
            t->trashedPath = o.value(u"path"_s).toString();
            t->infoPath = o.value(u"info"_s).toString();
        }
    } else if (kind == u"end") {
        c.finished = true;
    } else if (kind == u"undo") {
        c.undoState = o.value(u"state"_s).toString();
    }
}

struct KindWords
{
    ChangeKind kind;
    const char16_t *code;
    const char16_t *caption;
};

constexpr KindWords kindWords[] = {
    {ChangeKind::Rename, u"rename", u"Album rename"},
    {ChangeKind::EditorSave, u"save", u"Write ID3 tag"},
    {ChangeKind::Fill, u"fill", u"Fill selected tags"},
    {ChangeKind::Numbering, u"numbering", u"Auto track"},
    {ChangeKind::CopyV1ToV2, u"copy-v1-v2", u"Copy v1 -> v2"},
    {ChangeKind::CopyV2ToV1, u"copy-v2-v1", u"Copy v2 -> v1"},
    {ChangeKind::RemoveTags, u"remove", u"Remove tags"},
    {ChangeKind::Picture, u"picture", u"Change picture"},
    {ChangeKind::ListRename, u"list-rename", u"Rename file"},
    {ChangeKind::Trash, u"trash", u"Delete to the trash"},
};

const KindWords &wordsOf(ChangeKind kind)
{
    for (const KindWords &words : kindWords)
        if (words.kind == kind)
            return words;
    return kindWords[0];
}

} // namespace

QString ChangeKinds::code(ChangeKind kind)
{
    return QString::fromUtf16(wordsOf(kind).code);
}

std::optional<ChangeKind> ChangeKinds::fromCode(const QString &code)
{
    if (code.isEmpty())
        return ChangeKind::Rename;
    for (const KindWords &words : kindWords)
        if (code == QStringView(words.code))
            return words.kind;
    return std::nullopt;
}

QString ChangeKinds::caption(ChangeKind kind)
{
    return QString::fromUtf16(wordsOf(kind).caption);
}

QString ChangeKinds::describe(ChangeKind kind, int fileCount, const QString &folder)
{
    return u"%1: %2 in %3"_s.arg(caption(kind), fileCount == 1 ? u"1 file"_s : u"%1 files"_s.arg(fileCount),
                                 QDir::toNativeSeparators(folder));
}

QString JournalContents::state() const
{
    if (!valid)
        return u"damaged"_s;
    if (!undoState.isEmpty())
        return undoState;
    return finished ? u"finished"_s : u"interrupted"_s;
}

JobJournal::~JobJournal()
{
    file_.close();
}

QString JobJournal::folder()
{
    const QString path = QDir(AppFolder::userDataPath()).filePath(u"Journals"_s);
    QDir().mkpath(path);
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// XXH3 with 128 bits: the same value on every machine and version (the journal outlives the
// program that wrote it), and fast enough that hashing each file twice costs little next to
// reading it. The hash tells accidents and edits apart from the job's own writes; nobody forges it.
JobJournal::Hasher::Hasher()
    : state_(XXH3_createState())
{
    XXH3_128bits_reset(static_cast<XXH3_state_t *>(state_));
}

JobJournal::Hasher::~Hasher()
{
    XXH3_freeState(static_cast<XXH3_state_t *>(state_));
}

void JobJournal::Hasher::add(QByteArrayView bytes)
{
    XXH3_128bits_update(static_cast<XXH3_state_t *>(state_), bytes.data(), size_t(bytes.size()));
}

QByteArray JobJournal::Hasher::result() const
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(static_cast<XXH3_state_t *>(state_)));
    return QByteArray(reinterpret_cast<const char *>(canonical.digest), sizeof(canonical.digest)).toHex();
}

QByteArray JobJournal::hashBytes(const QByteArray &bytes)
{
    Hasher hash;
    hash.add(bytes);
    return hash.result();
}

QByteArray JobJournal::hashFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Hasher hash;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        if (chunk.isEmpty())
            return {};
        hash.add(chunk);
    }
    return hash.result();
}

bool JobJournal::append(const QJsonObject &record, bool flush, bool holdsOnlyCopy)
{
    if (!file_.isOpen())
        return false;
    const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Compact);
    const QByteArray line = checksum(json) + ' ' + json + '\n';
    if (!writeWhole(file_, line, error_) || !file_.flush()) {
        if (error_.isEmpty())
            error_ = file_.errorString();
        // What is half written is a torn record; nothing more goes after it.
        file_.close();
        return false;
    }
    // A record that keeps the only copy of bytes about to be overwritten or deleted goes to
    // the disk at once, held or not.
    if (flush && held_ && !holdsOnlyCopy) {
        unsynced_ = true;
    } else if (flush) {
        if (!TemporaryFiles::syncToDisk(int(file_.handle()))) {
            error_ = u"Unable to write the journal to the disk"_s;
            file_.close();
            return false;
        }
        unsynced_ = false;
    }
    StopPoints::reached("journal-record");
    return true;
}

bool JobJournal::begin(const QString &listedFolder, const QString &destination, int fileCount,
                       const QStringList &roots)
{
    return start(ChangeKind::Rename, listedFolder, destination, fileCount, roots);
}

bool JobJournal::begin(ChangeKind kind, const QString &folder, int fileCount, const QStringList &roots)
{
    return start(kind, folder, folder, fileCount, roots);
}

bool JobJournal::start(ChangeKind kind, const QString &listedFolderGiven, const QString &destinationGiven,
                       int fileCount, const QStringList &rootsGiven)
{
    // The undo acts only on full paths: a change started on a relative one is recorded in full.
    const QString listedFolder = fullPath(listedFolderGiven);
    const QString destination = fullPath(destinationGiven);
    QStringList roots;
    for (const QString &root : rootsGiven)
        roots.append(fullPath(root));
    const QString dir = folder();
    int next = 1;
    for (const QString &name : QDir(dir).entryList({u"job-*.journal"_s}, QDir::Files)) {
        const QRegularExpressionMatch m = journalName().match(name);
        if (m.hasMatch())
            next = std::max(next, m.captured(1).toInt() + 1);
    }
    // Another program may take the same number at the same moment: the next one is tried.
    for (int attempt = 0; attempt < 16; ++attempt, ++next) {
        file_.setFileName(QDir(dir).filePath(u"job-%1.journal"_s.arg(next, 6, 10, QChar(u'0'))));
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (!QFileInfo::exists(file_.fileName()))
            break;
    }
    if (!file_.isOpen()) {
        error_ = file_.errorString();
        if (!QFileInfo(dir).isDir())
            error_ = u"The folder cannot be created"_s;
        return false;
    }
    id_ = QString::number(next);
    QJsonObject job {{u"k"_s, u"job"_s}, {u"id"_s, id_},
                     {u"date"_s, QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
                     {u"folder"_s, listedFolder}, {u"dest"_s, destination}, {u"files"_s, fileCount}, {u"v"_s, 1},
                     {u"kind"_s, ChangeKinds::code(kind)},
                     {u"what"_s, ChangeKinds::describe(kind, fileCount, listedFolder)}};
    QStringList allRoots {listedFolder, destination};
    for (const QString &root : roots)
        if (!root.isEmpty() && !allRoots.contains(root))
            allRoots.append(root);
    job.insert(u"roots"_s, QJsonArray::fromStringList(allRoots));
    if (!append(job, true)) {
        QFile::remove(file_.fileName());
        return false;
    }
    prune();
    return true;
}

void JobJournal::prune() const
{
    const QDir dir(folder());
    QList<int> numbers;
    for (const QString &name : dir.entryList({u"job-*.journal"_s}, QDir::Files)) {
        const QRegularExpressionMatch m = journalName().match(name);
        if (m.hasMatch())
            numbers.append(m.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end(), std::greater<>());
    // Newest first: the journals are kept while both the count and the bytes allow; the newest
    // (the change just begun) always is.
    qint64 bytes = 0;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const QString path = dir.filePath(u"job-%1.journal"_s.arg(numbers.at(i), 6, 10, QChar(u'0')));
        bytes += QFileInfo(path).size();
        if (i > 0 && (i >= KeptJobs || bytes > KeptBytes))
            QFile::remove(path);
    }
}

bool JobJournal::recordCaseFolder(const QString &from, const QString &via, const QString &to)
{
    changed_ = true;
    return append({{u"k"_s, u"case-folder"_s}, {u"from"_s, from}, {u"via"_s, via}, {u"to"_s, to}}, true);
}

bool JobJournal::recordMakeFolders(const QStringList &levels)
{
    if (levels.isEmpty())
        return file_.isOpen();
    changed_ = true;
    return append({{u"k"_s, u"mkdir"_s}, {u"levels"_s, QJsonArray::fromStringList(levels)}}, true);
}

bool JobJournal::recordFile(int fileNumber, const QString &fromGiven, const QString &toGiven, bool judgeTaken)
{
    const QString from = fullPath(fromGiven);
    const QString to = fullPath(toGiven);
    JournalFile f;
    f.fileNumber = fileNumber;
    f.from = from;
    f.to = to;
    const QFileInfo target(to);
    const bool sameFile = target.exists() && RenameJobFiles::sameObject(from, to);
    f.destinationTaken = judgeTaken && target.exists() && !sameFile;
    f.inPlace = sameFile;
    const FileDigest digest = digestFile(from);
    if (digest.ok) {
        f.size = digest.size;
        f.tagRegion = digest.tagRegion;
        f.trailer = digest.trailer;
        f.hashBefore = digest.hash;
    }
    const QByteArray audioHash = digest.audioHash;
    f.mode = modeOf(from);
    // A file recorded where it is changes only when its tags do (noteTaggedHash tells).
    if (from != to)
        changed_ = true;
    recordAt_.insert(fileNumber, file_.isOpen() ? file_.pos() : -1);
    hashesBefore_.insert(fileNumber, f.hashBefore);
    audioHashes_.insert(fileNumber, audioHash);
    const QJsonObject record {{u"k"_s, u"file"_s}, {u"n"_s, fileNumber}, {u"from"_s, from}, {u"to"_s, to},
                              {u"inPlace"_s, f.inPlace}, {u"taken"_s, f.destinationTaken}, {u"size"_s, double(f.size)},
                              {u"hash"_s, latin(f.hashBefore)}, {u"v2"_s, b64(f.tagRegion)}, {u"v1"_s, b64(f.trailer)},
                              {u"mode"_s, f.mode}};
    current_ = std::move(f);
    return append(record, true);
}

FileDigest JobJournal::digestFile(const QString &path)
{
    // One read gives the tags, the hash of the whole file and that of its audio (what a tag
    // write must leave as it is).
    FileDigest d;
    Mp3FileBytes bytes(path);
    if (!bytes.isOpen())
        return d;
    const qint64 size = bytes.size();
    const qint64 start = bytes.audioStart();
    const qint64 end = std::max(start, size - (bytes.hasV1() ? qint64(128) : 0));
    QByteArray region(start, Qt::Uninitialized);
    QByteArray tail(size - end, Qt::Uninitialized);
    Hasher whole;
    TagWriteCheck::AudioHasher audio(end - start);
    if (!bytes.readExactly(0, region.data(), start))
        return d;
    whole.add(region);
    if (!bytes.readRange(start, end, [&](QByteArrayView chunk) {
            audio.add(chunk);
            whole.add(chunk);
        })
        || !bytes.readExactly(end, tail.data(), tail.size()))
        return d;
    whole.add(tail);
    d.ok = true;
    d.size = size;
    d.tagRegion = std::move(region);
    if (bytes.hasV1())
        d.trailer = std::move(tail);
    d.hash = whole.result();
    d.audioHash = audio.result();
    return d;
}

bool JobJournal::hasRecord(int fileNumber) const
{
    return recordAt_.contains(fileNumber);
}

QByteArray JobJournal::audioHashBefore(int fileNumber) const
{
    return audioHashes_.value(fileNumber);
}

void JobJournal::hold()
{
    held_ = true;
}

bool JobJournal::commit()
{
    held_ = false;
    if (!file_.isOpen())
        return false;
    if (!unsynced_)
        return true;
    unsynced_ = false;
    if (!TemporaryFiles::syncToDisk(int(file_.handle()))) {
        error_ = u"Unable to write the journal to the disk"_s;
        file_.close();
        return false;
    }
    return true;
}

bool JobJournal::recordTagWrite(int fileNumber)
{
    return append({{u"k"_s, u"tag"_s}, {u"n"_s, fileNumber}}, true);
}

bool JobJournal::recordOutput(const QString &path, const QByteArray &newBytesHash)
{
    JournalOutput out;
    out.existed = QFileInfo(path).isFile();
    QJsonObject record {{u"k"_s, u"output"_s}, {u"path"_s, path}, {u"existed"_s, out.existed},
                        {u"newHash"_s, latin(newBytesHash)}};
    if (out.existed) {
        QFile file(path);
        if (file.size() > MaxRecordBytes / 2 || !file.open(QIODevice::ReadOnly)) {
            error_ = u"Unable to read the earlier file "_s + path;
            return false;
        }
        out.oldBytes = file.readAll();
        record.insert(u"old"_s, b64(out.oldBytes));
        record.insert(u"oldHash"_s, latin(hashBytes(out.oldBytes)));
    }
    changed_ = true;
    return append(record, true, out.existed);
}

bool JobJournal::recordOldFolder(const QString &oldFolder, const QString &albumFolder)
{
    // The clean-up takes the folder away only when all it holds is its playlist, picture and
    // page (named after it): those are kept here, with where the picture and page move to.
    // A folder that holds anything else stays as it is, and nothing needs recording.
    const QDir dir(oldFolder);
    const QString name = QFileInfo(QDir::cleanPath(oldFolder)).fileName();
    const QStringList outputs {name + u".pls"_s, name + u".jpg"_s, name + u".htm"_s};
    const QStringList present = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : present)
        if (!outputs.contains(entry) || !QFileInfo(dir.filePath(entry)).isFile())
            return file_.isOpen();
    const QString target = QDir::cleanPath(albumFolder);
    const QString targetName = QFileInfo(target).fileName();
    QJsonArray entries;
    for (const QString &entry : present) {
        QFile file(dir.filePath(entry));
        if (file.size() > MaxRecordBytes / 2 || !file.open(QIODevice::ReadOnly)) {
            error_ = u"Unable to keep "_s + file.fileName() + u" in the journal"_s;
            return false;
        }
        const QString movedTo = entry == outputs.first() ? QString() : target + u'/' + targetName + entry.mid(name.size());
        entries.append(QJsonObject {{u"name"_s, entry}, {u"data"_s, b64(file.readAll())}, {u"movedTo"_s, movedTo}});
    }
    changed_ = true;
    return append({{u"k"_s, u"old-folder"_s}, {u"folder"_s, QDir::cleanPath(oldFolder)}, {u"entries"_s, entries}},
                  true, true);
}

bool JobJournal::recordTrash(int fileNumber, const QString &path, const QByteArray &hash)
{
    return append({{u"k"_s, u"trash-file"_s}, {u"n"_s, fileNumber}, {u"path"_s, path},
                   {u"size"_s, double(QFileInfo(path).size())}, {u"hash"_s, latin(hash)}},
                  true);
}

void JobJournal::noteTrashed(int fileNumber, const QString &trashedPath, const QString &infoPath)
{
    changed_ = true;
    append({{u"k"_s, u"trash"_s}, {u"n"_s, fileNumber}, {u"path"_s, trashedPath}, {u"info"_s, infoPath}}, false);
}

void JobJournal::noteMoved(int fileNumber, const QString &path)
{
    append({{u"k"_s, u"moved"_s}, {u"n"_s, fileNumber}, {u"path"_s, path}}, false);
}

void JobJournal::noteTaken(int fileNumber)
{
    append({{u"k"_s, u"taken"_s}, {u"n"_s, fileNumber}}, false);
}

void JobJournal::noteTagged(int fileNumber, const QString &path)
{
    noteTaggedHash(fileNumber, hashFile(path));
}

void JobJournal::noteTaggedHash(int fileNumber, const QByteArray &hash)
{
    if (hash.isEmpty() || hash != hashesBefore_.value(fileNumber))
        changed_ = true;
    append({{u"k"_s, u"tagged"_s}, {u"n"_s, fileNumber}, {u"hash"_s, latin(hash)}}, false);
    if (current_ && current_->fileNumber == fileNumber)
        current_->hashAfter = hash;
}

void JobJournal::finish()
{
    // The end is written only over files on the disk: until then each original a rewrite
    // replaced stays linked beside it for the undo (and stays there when the sync failed).
    (void)syncGroup_.settle();
    if (!file_.isOpen())
        return;
    if (!changed_) {
        file_.close();
        QFile::remove(file_.fileName());
        return;
    }
    held_ = false;
    append({{u"k"_s, u"end"_s}}, true);
    file_.close();
}

void JobJournal::discard()
{
    // A journal the disk refused is closed already, and goes too; a journal that never began
    // names no file of its own.
    if (id_.isEmpty())
        return;
    const QString name = file_.fileName();
    file_.close();
    if (!name.isEmpty())
        QFile::remove(name);
    file_.setFileName(QString());
}

namespace {

/// Takes the record of one whole line (its line end included); false when its checksum fails.
/// A summary takes only the job, its end and undo notes.
bool takeLine(JournalContents &c, const QByteArray &line, bool summaryOnly)
{
    if (line.size() < 10 || line.at(8) != ' ')
        return false;
    const QByteArray json = line.mid(9, line.size() - 10);
    if (checksum(json) != line.left(8))
        return false;
    const QJsonObject record = QJsonDocument::fromJson(json).object();
    const QString kind = record.value(u"k"_s).toString();
    if (!summaryOnly || kind == u"job" || kind == u"end" || kind == u"undo")
        takeRecord(c, record);
    return true;
}

enum class LineRead { Whole, TooLong, Torn, End };

/// Reads the next line with its end into `line`, in pieces, so memory grows with the line and
/// not with the largest line there could be. A line longer than any record is skipped to its
/// end (TooLong); the last line without its end is Torn.
LineRead readRecordLine(QFile &file, QByteArray &line)
{
    line.clear();
    bool tooLong = false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = file.readLine(buffer, sizeof buffer);
        if (n <= 0)
            return line.isEmpty() && !tooLong ? LineRead::End : LineRead::Torn;
        if (!tooLong)
            line.append(buffer, n);
        if (buffer[n - 1] == '\n')
            return tooLong ? LineRead::TooLong : LineRead::Whole;
        if (line.size() > MaxRecordBytes + 10) {
            tooLong = true;
            line = QByteArray();
        }
    }
}

/// Where the journal's last whole line ends: a torn record after it is cut off there.
qint64 endOfWholeLines(QFile &file)
{
    constexpr qint64 Step = 64 * 1024;
    qint64 end = file.size();
    while (end > 0) {
        const qint64 from = std::max<qint64>(0, end - Step);
        if (!file.seek(from))
            return -1;
        const QByteArray piece = file.read(end - from);
        if (piece.size() != end - from)
            return -1;
        if (const qsizetype at = piece.lastIndexOf('\n'); at >= 0)
            return from + at + 1;
        end = from;
    }
    return 0;
}

/// The job number a journal's file name gives.
QString idFromName(const QString &path)
{
    const QRegularExpressionMatch m = journalName().match(QFileInfo(path).fileName());
    return m.hasMatch() ? QString::number(m.captured(1).toInt()) : QString();
}

} // namespace

JournalContents JobJournal::read(const QString &path)
{
    JournalContents c;
    c.path = path;
    c.id = idFromName(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return c;
    QByteArray line;
    for (int number = 1;; ++number) {
        const LineRead got = readRecordLine(file, line);
        if (got == LineRead::End || got == LineRead::Torn)
            break; // only the last line can be torn, by a kill
        if (got == LineRead::TooLong || !takeLine(c, line, false))
            c.damagedLines.append(number);
    }
    return c;
}

JournalContents JobJournal::readSummary(const QString &path)
{
    // The job record opens the journal and the end and undo notes close it: a journal that
    // holds the tags and pictures of a whole album is not read through for them.
    constexpr qint64 Window = 64 * 1024;
    JournalContents c;
    c.path = path;
    c.id = idFromName(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return c;
    QByteArray first;
    if (readRecordLine(file, first) != LineRead::Whole)
        return c;
    if (!takeLine(c, first, true)) {
        c.damagedLines.append(1);
        return c;
    }
    const qint64 from = std::max(file.pos(), file.size() - Window);
    if (!file.seek(from))
        return c;
    QList<QByteArray> lines = file.read(Window).split('\n');
    lines.removeLast(); // what follows the last line end: empty, or a torn record
    if (from != first.size() && !lines.isEmpty())
        lines.removeFirst(); // the window began inside a record
    for (const QByteArray &line : std::as_const(lines))
        takeLine(c, line + '\n', true);
    return c;
}

QList<JournalContents> JobJournal::list()
{
    const QDir dir(folder());
    QList<std::pair<int, QString>> found;
    for (const QString &name : dir.entryList({u"job-*.journal"_s}, QDir::Files)) {
        const QRegularExpressionMatch m = journalName().match(name);
        if (m.hasMatch())
            found.append({m.captured(1).toInt(), dir.filePath(name)});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<JournalContents> jobs;
    for (const auto &[number, path] : std::as_const(found)) {
        JournalContents c = readSummary(path);
        // A journal whose job record is damaged is listed, so its undo can say so.
        if (c.valid || !c.damagedLines.isEmpty())
            jobs.append(c);
    }
    return jobs;
}

bool JobJournal::noteUndo(const QString &path, bool complete, QString *error)
{
    QString reason;
    const auto failed = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failed(file.errorString());
    // A torn record at the end (a kill) is cut off first: the note must start a line, and a
    // whole line that fails its checksum would be taken for damage.
    const qint64 end = endOfWholeLines(file);
    if (end < 0 || (end != file.size() && !file.resize(end)) || !file.seek(end))
        return failed(file.errorString());
    const QJsonObject record {{u"k"_s, u"undo"_s}, {u"state"_s, complete ? u"undone"_s : u"partly undone"_s},
                              {u"date"_s, QDateTime::currentDateTime().toString(Qt::ISODateWithMs)}};
    const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Compact);
    const QByteArray line = checksum(json) + ' ' + json + '\n';
    if (!writeWhole(file, line, reason))
        return failed(reason);
    if (!TemporaryFiles::syncToDisk(int(file.handle())))
        return failed(u"Unable to write the journal to the disk"_s);
    return true;
}

std::optional<JournalFile> JobJournal::fileRecord(int fileNumber) const
{
    if (current_ && current_->fileNumber == fileNumber)
        return current_;
    // A batch records all its files ahead: the record is read back from the journal, which is
    // rare (a write found bad), so memory does not grow with the number of files.
    const qint64 at = recordAt_.value(fileNumber, -1);
    QFile file(file_.fileName());
    if (at < 0 || !file.open(QIODevice::ReadOnly) || !file.seek(at))
        return std::nullopt;
    QByteArray line;
    if (readRecordLine(file, line) != LineRead::Whole)
        return std::nullopt;
    JournalContents c;
    if (!takeLine(c, line, false) || c.files.size() != 1 || c.files.first().fileNumber != fileNumber)
        return std::nullopt;
    return c.files.first();
}
