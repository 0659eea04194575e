#pragma once
// Program files ("*.qrx") and output preset files ("*.fpo") of the current editing window's
// device. Both hold the device's whole 1059-byte program image; a program file gives back the
// input section, the program name, the delay unit and the window's view options, an output
// preset the two output sections and the outputs' mute bits.
#include "window/WindowContext.h"

// The file dialogs of the two kinds: title, start folder below the device's model folder, filter.
FileDialogRequest ProgramFileRequest(const AppState& st, int dev, const QString& title);
FileDialogRequest OutputPresetRequest(const AppState& st, int dev, const QString& title);

// Image byte of an output preset that carries the mute byte (a spare byte of the outputs).
constexpr int kPresetMuteByte = 206;

class ProgramFiles {
  public:
    ProgramFiles(WindowContext& c) : c_(c) {}

    // "Guardar memoria PC": writes the device's image to a chosen program file.
    void SaveProgramFile();
    // "Abrir memoria PC": takes bytes 0..47, 227 and 978..1058 of a chosen program file, loads
    // the window and the device from the image and names the file in the window's caption.
    void OpenProgramFile();
    // "Save Outputs to PC": copies the mute byte into byte 206 and writes the image.
    void SaveOutputPresetFile();
    // "Load Outputs from PC": takes bytes 48..207 of a chosen preset, the outputs' mute bits from
    // its byte 206 (the input unmuted), and loads the window and the device.
    void OpenOutputPresetFile();

  private:
    void save(const FileDialogRequest& r);
    // Reads the chosen file into FileProg; false (with the message shown) when it is not taken.
    bool readChosen(const QString& path);

    WindowContext& c_;
};
