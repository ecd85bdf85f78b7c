#include "TestEnv.h"

#include "foundation/AppFolder.h"
#include "foundation/Settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

RecordingAnswerer::RecordingAnswerer()
{
    previous_ = Msg::setPresenter([this](const Msg::Message &m) {
        messages_.append(m);
        if (!script_.isEmpty())
            return script_.takeFirst();
        if (hasDefault_)
            return default_;
        unexpected_.append(m);
        return m.defaultButton.value_or(Msg::firstButton(m.buttons));
    });
}

RecordingAnswerer::~RecordingAnswerer()
{
    Msg::setPresenter(std::move(previous_));
    for (const Msg::Message &m : std::as_const(unexpected_))
        ADD_FAILURE() << "unexpected message box \"" << m.title.toStdString() << "\": " << m.text.toStdString();
}

void VarneltTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    QDir(dir_.path()).mkpath(QStringLiteral("app"));
    QDir(dir_.path()).mkpath(QStringLiteral("home"));
    AppFolder::setOverride(appFolder());
    AppFolder::setUserDataOverride(dir_.filePath(QStringLiteral("userdata")));
    AppFolder::setUserCacheOverride(dir_.filePath(QStringLiteral("usercache")));
    Settings::setFileOverride(dir_.filePath(QStringLiteral("settings/Varnelt.conf")));
    answers = new RecordingAnswerer;
}

void VarneltTest::TearDown()
{
    delete answers;
    answers = nullptr;
    AppFolder::setOverride({});
    AppFolder::setUserDataOverride({});
    AppFolder::setUserCacheOverride({});
    Settings::setFileOverride({});
}

QString VarneltTest::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString path = dir_.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QString VarneltTest::copyFixture(const QString &fixture, const QString &name) const
{
    const QString target = dir_.filePath(name.isEmpty() ? fixture : name);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    QFile::copy(fixturePath(fixture), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString fixturePath(const QString &name)
{
    return QStringLiteral(VARNELT_TEST_DATA) + u'/' + name;
}

QMap<QString, QByteArray> folderState(const QString &root)
{
    QMap<QString, QByteArray> state;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir())
            state.insert(name + u'/', {});
        else
            state.insert(name, QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1).toHex());
    }
    return state;
}
