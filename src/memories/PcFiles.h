#pragma once
// What the program and preset files on the PC share: the model folders below the application
// folder, reading a program image file, writing a file whole, and the messages of a failed read
// or write.
#include "common/AppState.h"
#include "platform/MessageBox.h"

#include <QByteArray>
#include <QString>

// AppFolder + "/Kestrino/" + sub for a device of the first model, "/Valdoran/" + sub for the
// second; empty (no start folder) for any other model code.
QString ModelFolder(const AppState& st, int dev, const QString& sub);

enum class FileRead {
    Ok,         // the bytes were read
    NotFound,   // no file of that name
    TooShort,   // the file is shorter than a whole program image
    Unreadable, // the file could not be opened or read
};

// Reads the first bytes of a file the operator chose, at most `maxBytes` of them: every open path
// reads a file only as far as its format reaches, so a large file picked by mistake is neither
// loaded whole nor waited for. NotFound or Unreadable leave `bytes` as it was (TooShort is never
// given; the caller judges the length).
FileRead ReadFileHead(const QString& path, qint64 maxBytes, QByteArray& bytes);
// Reads a program image file into `image`: the first 1059 bytes of a file that holds at least
// that many. On anything but Ok, `image` is left as it was.
FileRead ReadImageFile(const QString& path, ProgRecord& image);
// Writes the file whole or not at all: a file already there keeps its content when the write
// fails. True when written.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

// " File not found. Try again." for NotFound, "File incorrecto" for TooShort, nothing for
// Unreadable (the read ends silently).
void ShowFileReadFailure(MessageBoxService& msg, FileRead r);
// " File not saved. Try again."
void ShowFileNotSaved(MessageBoxService& msg);

// The name of a file without its folder.
QString FileTitle(const QString& path);
