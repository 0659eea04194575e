#pragma once
// The speaker library download: the operator picks a speaker list file from the model's
// "FirmwareLib" folder, and every used record of it is written into the speaker slot of the same
// number of the current editing window's device.
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

#include <functional>

// OpenSpeakerLibFile's result when no file was read (cancelled, missing or unreadable).
constexpr int kNoSpeakerLib = 255;

// The open dialog of a speaker list for device dev: "file Speaker (*.y12)" in its model's
// FirmwareLib folder.
FileDialogRequest SpeakerLibRequest(const AppState& st, int dev);

// Lets the operator pick a speaker list for device dev. A file the speaker list reader takes
// fills SpkLib 0..15 and marks each used record in SpkSelected; the result is then the number of
// used records (0 when there is none). A file the reader refuses gives 0 and changes nothing. A
// cancelled dialog or a file that cannot be read gives kNoSpeakerLib (a missing file with its
// message).
int OpenSpeakerLibFile(AppState& st, MessageBoxService& msg, DialogService& dialogs, int dev);

// Writes each marked, used record s of SpkLib into speaker slot s of device dev, in ascending
// order (44 frames each, `step` after every frame); the record keeps its padded name and the
// device's PresetName and PresetStatus follow. Stops at the first frame that failed and was
// reported. The number of records whose writing was begun.
int DownloadSpeakerLib(AppState& st, Link& link, int dev, const std::function<void()>& step);
