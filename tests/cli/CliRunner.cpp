#include "CliRunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>

#include <unistd.h>

using namespace Qt::StringLiterals;

QStringList CliRun::lines() const
{
    QStringList l = out.split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

void CliTest::SetUp()
{
    VarneltTest::SetUp();
    QDir().mkpath(programFolder());
    QDir().mkpath(tempFile(u"config"_s));
    program_ = programFolder() + u"/varnelt-cli"_s;
    ASSERT_TRUE(QFile::copy(QStringLiteral(VARNELT_CLI_PATH), program_)) << VARNELT_CLI_PATH;
    QFile::setPermissions(program_, QFile::permissions(program_) | QFile::ExeOwner);
    // The lookup's engine module is found beside the program, as in the build folder.
    const QString engine = u"libvarnelt-cli-engine.so"_s;
    ASSERT_TRUE(QFile::link(QFileInfo(QStringLiteral(VARNELT_CLI_PATH)).absolutePath() + u'/' + engine,
        programFolder() + u'/' + engine));
}

QProcessEnvironment CliTest::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, tempFile(u"home"_s));
    env.insert(u"XDG_CONFIG_HOME"_s, tempFile(u"config"_s));
    env.insert(u"XDG_DATA_HOME"_s, tempFile(u"home/.local/share"_s));
    // A fixed locale: the size column groups thousands with the user's separator.
    env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    env.insert(u"LANG"_s, u"C.UTF-8"_s);
    return env;
}

void CliTest::start(QProcess &process, const QStringList &args) const
{
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(tempPath());
    process.start(program_, args);
}

CliRun CliTest::runUnprivileged(const QStringList &args, bool *possible) const
{
    *possible = true;
    if (::geteuid() != 0)
        return run(args);
    const QString setpriv = QStandardPaths::findExecutable(u"setpriv"_s);
    if (setpriv.isEmpty()) {
        *possible = false;
        return {};
    }
    // The other user must reach the program and the files, as a user's own folder would let it.
    for (QString level = tempPath(); level != u"/"_s && !level.isEmpty(); level = QFileInfo(level).path())
        QFile::setPermissions(level, QFile::permissions(level) | QFile::ExeOther | QFile::ReadOther);
    QFile::setPermissions(program_, QFile::permissions(program_) | QFile::ExeOther | QFile::ReadOther);
    QDirIterator it(tempPath(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString folder = it.next();
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther | QFile::ReadOther | QFile::WriteOther);
    }
    return run(QStringList{u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, program_} + args, {}, setpriv);
}

CliRun CliTest::run(const QStringList &args, const QString &workingDir, const QString &launcher) const
{
    QProcess process;
    const QProcessEnvironment env = environment();
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir.isEmpty() ? tempPath() : workingDir);
    process.start(launcher.isEmpty() ? program_ : launcher, args);
    CliRun result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "varnelt-cli did not finish: " << args.join(u' ').toStdString();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString CliTest::settingsFile() const
{
    return tempFile(u"config/Varnelt/Varnelt.conf"_s);
}

void CliTest::storeSetting(const QString &key, const QString &value) const
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.beginGroup(u"Settings"_s);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
