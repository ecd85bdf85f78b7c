#pragma once
// What the desktop offers the windows beyond their own widgets: a program that opens web
// addresses and a sound output. Tests put their own answers in place, so they neither start a
// browser nor depend on the machine's sound devices.

#include <QUrl>
#include <functional>

namespace Desktop {

/// Opens an address with the desktop's program for it; false when no program took it.
using Opener = std::function<bool(const QUrl &url)>;
/// Whether a sound output is there to play to.
using SoundCheck = std::function<bool()>;

/// Installs the opener (tests); returns the one it replaces. An empty one restores the desktop's.
Opener setOpener(Opener opener);
/// Installs the sound check (tests); returns the one it replaces. An empty one restores the real one.
SoundCheck setSoundCheck(SoundCheck check);

[[nodiscard]] bool openAddress(const QUrl &url);
[[nodiscard]] bool hasSoundOutput();

} // namespace Desktop
