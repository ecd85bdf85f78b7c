// Every input that once crashed, hung or tripped a sanitizer under the fuzzers is kept in
// tests/data/fuzz/TARGET/ and replayed here through the same target body, in the ordinary
// build; the seed corpora are replayed too, so a target that breaks on its own seeds is seen
// without clang. A replay that crashes or hangs fails the run.
#include "FuzzTargets.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

QString fuzzDir()
{
    return QStringLiteral(VARNELT_FUZZ_DIR);
}

QStringList inputsOf(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

class FuzzReplay : public VarneltTest, public ::testing::WithParamInterface<Fuzz::Target>
{
};

std::string targetName(const ::testing::TestParamInfo<Fuzz::Target> &info)
{
    return info.param.name;
}

} // namespace

TEST_P(FuzzReplay, KeptInputsAndSeedsRunThroughInBoundedTime)
{
    const QString name = QString::fromLatin1(GetParam().name);
    const QStringList seeds = inputsOf(fuzzDir() + u"/corpus/"_s + name);
    EXPECT_FALSE(seeds.isEmpty()) << "no seed corpus for " << GetParam().name;
    const QStringList kept = inputsOf(QStringLiteral(VARNELT_TEST_DATA) + u"/fuzz/"_s + name);
    for (const QString &path : kept + seeds) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
        const QByteArray bytes = file.readAll();
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(GetParam().body(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())), 0)
            << qPrintable(path);
        // Not a speed target: the fuzzers stop at 2 s an input; a kept hang that came back
        // would take minutes, far past this bound.
        EXPECT_LT(clock.elapsed(), 20000) << qPrintable(path);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(Fuzz::targets()), targetName);

TEST(FuzzTargets, EveryEntryHasABodyAndACorpus)
{
    QSet<QString> entries;
    for (const QString &file : QDir(fuzzDir() + u"/entry"_s).entryList({u"*.cpp"_s}, QDir::Files))
        entries.insert(file.chopped(4));
    QSet<QString> bodies;
    for (const Fuzz::Target &t : Fuzz::targets())
        bodies.insert(QString::fromLatin1(t.name));
    EXPECT_EQ(entries, bodies);
    EXPECT_GE(bodies.size(), 10);
    for (const QString &name : bodies)
        EXPECT_TRUE(QDir(fuzzDir() + u"/corpus/"_s + name).exists()) << qPrintable(name);
}
