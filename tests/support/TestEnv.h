#pragma once
// Every test works in its own temporary folder, with the settings store and the application
// folder redirected there, and every message box answered by a recorder.

#include "foundation/MessageGateway.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

/// Records every message and answers from a script of answers (then the default answer).
///
/// A box is expected when it takes a scripted answer, when a default answer is set, or when the
/// test looks at the recorded messages after it came (messages(), count(), lastText(), clear()).
/// Any other box fails the test when the answerer goes: a box nobody expected is a fault the
/// test must not pass over in silence.
class RecordingAnswerer
{
public:
    RecordingAnswerer();
    ~RecordingAnswerer();
    RecordingAnswerer(const RecordingAnswerer &) = delete;
    RecordingAnswerer &operator=(const RecordingAnswerer &) = delete;

    /// Queues the answer for the next message.
    void answerNext(Msg::Answer answer) { script_.append(answer); }
    /// The answer every message gets once the script is used up; any number of them is then
    /// expected. Unset, a message takes the box's default button.
    void setDefaultAnswer(Msg::Answer answer) { default_ = answer; hasDefault_ = true; }

    [[nodiscard]] const QList<Msg::Message> &messages() const { seen(); return messages_; }
    [[nodiscard]] int count() const { seen(); return int(messages_.size()); }
    [[nodiscard]] QString lastText() const { seen(); return messages_.isEmpty() ? QString() : messages_.last().text; }
    void clear() { seen(); messages_.clear(); }

private:
    void seen() const { unexpected_.clear(); }

    QList<Msg::Message> messages_;
    QList<Msg::Answer> script_;
    Msg::Answer default_ = Msg::Answer::Ok;
    bool hasDefault_ = false;
    /// Messages that came without a script or default and that the test has not looked at yet.
    mutable QList<Msg::Message> unexpected_;
    Msg::Presenter previous_;
};

/// Fixture: a fresh temporary folder, settings and application folder inside it, a recorder.
class VarneltTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The test's own folder, without a trailing separator.
    [[nodiscard]] QString tempPath() const { return dir_.path(); }
    /// A path inside the test's folder.
    [[nodiscard]] QString tempFile(const QString &name) const { return dir_.filePath(name); }
    /// The folder that plays the application folder ("beside the program").
    [[nodiscard]] QString appFolder() const { return dir_.filePath(QStringLiteral("app")); }
    /// The folder of the rename jobs' undo journals, inside the per-user data folder.
    [[nodiscard]] QString journalFolder() const { return dir_.filePath(QStringLiteral("userdata/Journals")); }
    /// Writes bytes to a file under the test's folder (parents created) and returns its path.
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    /// Copies a file from tests/data into the test's folder under the given name.
    QString copyFixture(const QString &fixture, const QString &name = {}) const;

    RecordingAnswerer *answers = nullptr;

private:
    QTemporaryDir dir_;
};

/// Reads a whole file; empty when it cannot be read.
QByteArray readAll(const QString &path);

/// Everything under a folder, by path relative to it: each file with the hash of its bytes,
/// each folder as "name/" with an empty value. Two equal states mean nothing changed.
QMap<QString, QByteArray> folderState(const QString &root);

/// Path of a file in tests/data.
QString fixturePath(const QString &name);
