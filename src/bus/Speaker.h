#pragma once
// Demonstration devices: the device table file "Speakers.cfg" of the application folder lists
// the devices to edit offline, and each gets a program image and display record built from the
// default program, without any frame on the line.
#include "common/AppState.h"
#include "platform/MessageBox.h"

#include <QByteArray>
#include <vector>

constexpr int kDemoRecordSize = 128; // one record of the demo device file
constexpr int kDemoRecordCount = 66; // one per bus address

QString DemoDeviceFilePath(const QString& appFolder);

// Reads the 66 records into DevTable. Records the file does not hold whole read as not present.
// False when the file cannot be opened.
bool ReadDemoDeviceFile(AppState& st);

// The three loaders; each returns false after "Puerto no encontrado o el equipo esta
// desconectado" when the file is missing or lists no device, and the caller ends the program.
bool LoadSpeakersCfgAll(AppState& st, MessageBoxService& msg);   // every present record
bool LoadSpeakersCfgFirst(AppState& st, MessageBoxService& msg); // the first present record
bool LoadSpeakersCfgModel(AppState& st, MessageBoxService& msg); // the first, at the chosen ID

// Fills the device's program image and display record for offline editing.
void InitDeviceRecordOffline(AppState& st, int dev);

// The bytes of a demo device file listing the given bus addresses (each record n holds
// Address n; the listed ones have Present 1).
QByteArray DemoDeviceFileBytes(const std::vector<int>& present);
