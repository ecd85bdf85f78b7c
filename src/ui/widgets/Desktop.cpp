#include "ui/widgets/Desktop.h"

#include <QAudioDevice>
#include <QDesktopServices>
#include <QMediaDevices>

namespace Desktop {
namespace {

Opener &opener()
{
    static Opener installed;
    return installed;
}

SoundCheck &soundCheck()
{
    static SoundCheck installed;
    return installed;
}

} // namespace

Opener setOpener(Opener replacement)
{
    return std::exchange(opener(), std::move(replacement));
}

SoundCheck setSoundCheck(SoundCheck replacement)
{
    return std::exchange(soundCheck(), std::move(replacement));
}

bool openAddress(const QUrl &url)
{
    return opener() ? opener()(url) : QDesktopServices::openUrl(url);
}

bool hasSoundOutput()
{
    return soundCheck() ? soundCheck()() : !QMediaDevices::audioOutputs().isEmpty();
}

} // namespace Desktop
