#pragma once
// The messages the windows raise for what the core hands back as values: the core decides,
// the window shows it through the message gateway.

#include <QString>
#include <QStringList>

/// Validates the mask in place (the slash conversion is written back into maskText) and, when
/// it is not valid, shows the message titled "Invalid mask" with the critical icon and an OK
/// button. Returns whether the mask is valid.
bool validateMaskAndReport(QString &maskText);

/// Shows "Please select at least one file !" titled "No file selected" with a warning icon.
void showNoFileSelected();

/// Shows each description as the common "Error" message, in turn.
void showErrors(const QStringList &descriptions);
