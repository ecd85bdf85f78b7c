#pragma once
// Runs the real varnelt-cli as a separate process for end-to-end tests. The program is copied
// into the test's folder first, so its folder "beside the program" (masks) is the test's own;
// HOME and XDG_CONFIG_HOME point into the test's folder too, so settings are the test's own.

#include "support/TestEnv.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
    /// Standard output split into lines (without the final empty piece).
    [[nodiscard]] QStringList lines() const;
};

class CliTest : public VarneltTest
{
protected:
    void SetUp() override;

    /// Runs varnelt-cli with the arguments, in the test's folder; fails the test on a timeout.
    CliRun run(const QStringList &args, const QString &workingDir = {}, const QString &launcher = {}) const;
    /// Runs varnelt-cli as a user without root's right to read every file (through setpriv as
    /// "nobody" when the tests run as root, with the test's folder opened to that user); sets
    /// *possible to false, running nothing, where that cannot be done.
    CliRun runUnprivileged(const QStringList &args, bool *possible) const;
    /// Starts varnelt-cli with the test's environment and returns at once (to kill it midway).
    void start(QProcess &process, const QStringList &args) const;
    /// HOME, XDG folders and locale of the test's own.
    [[nodiscard]] QProcessEnvironment environment() const;
    /// The folder the program runs from (its "Masks" folder lives here).
    [[nodiscard]] QString programFolder() const { return tempFile(QStringLiteral("bin")); }
    /// The settings file the program reads.
    [[nodiscard]] QString settingsFile() const;
    /// Stores a text setting in the program's settings file, group "Settings".
    void storeSetting(const QString &key, const QString &value) const;

private:
    QString program_;
};

/// Lets GoogleTest print texts readably in failure messages.
void PrintTo(const QString &text, std::ostream *os);
