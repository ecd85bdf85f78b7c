#pragma once
// The desktop program's way of showing the messages of the gateway: a real message box.
// This is the only place of the program that builds a QMessageBox.

#include "foundation/MessageGateway.h"

namespace MessageBoxPresenter {

/// Shows one message as a modal message box over the active window and returns the answer.
Msg::Answer present(const Msg::Message &message);

/// Installs present() as the gateway's presenter.
void install();

} // namespace MessageBoxPresenter
