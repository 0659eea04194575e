#include "memories/FrmStorePrj.h"

#include "common/NameCode.h"
#include "memories/PcFiles.h"

namespace {
constexpr int kLoadFromDevice = 0, kLoadFromPC = 1, kSaveToPC = 2, kSaveToDevice = 3, kExit = 4;

SpkRec& Record(AppState& st, int s) {
    return st.SpkLib[static_cast<size_t>(s)];
}
} // namespace

FrmStorePrj::FrmStorePrj(AppState& st, Link& link, MessageBoxService& msg, DialogService& dialogs)
    : st_(st), link_(link), msg_(msg), dialogs_(dialogs) {
    Label1[0].Caption = QStringLiteral("Factory Preset");
    Label1[1].Caption = QStringLiteral("Factory Preset List");
    const char* captions[] = {"Load List from Device", "Load List from PC", "Save List to PC",
                              "Save List to Device", "Exit"};
    for (size_t i = 0; i < Command1.size(); ++i) {
        Command1[i].Caption = QString::fromLatin1(captions[i]);
        Command1[i].Click = [this, i] { Command1_Click(static_cast<int>(i)); };
    }
    List1.MultiSelect = true;
    File1.DblClick = [this] { File1_DblClick(); };
}

QString FrmStorePrj::rowText(int s) const {
    const SpkRec& r = st_.SpkLib[static_cast<size_t>(s)];
    return TwoDigitsVar(s + 1) + QStringLiteral(" - ") + (r.used() ? r.Name : QStringLiteral("Vacia"));
}

void FrmStorePrj::rebuildRows() {
    List1.clear();
    for (int s = 0; s < kSpeakerSlots; ++s) {
        List1.items.append(rowText(s));
        List1.setSelected(s, Record(st_, s).used());
    }
}

FileDialogRequest FrmStorePrj::listRequest(const QString& title) const {
    return {title, ModelFolder(st_, dev(), QStringLiteral("PresetOutput")),
            QStringLiteral("file Speaker (*.y12)"), QStringLiteral("*.y12")};
}

void FrmStorePrj::Form_Load() {
    ProgressBar1.Visible = false;
    ProgressBar1.setValue(0);
    for (int s = 0; s < kSpeakerSlots; ++s) {
        Record(st_, s).Status = SpkRec::kEmpty;
        Record(st_, s).Name = QStringLiteral("Vacia          ");
    }
    File1.Path = ModelFolder(st_, dev(), QStringLiteral("PresetOutput"));
    File1.Pattern = QStringLiteral("*.fpo");
    File1.Refresh();
    rebuildRows();
    Command1[kLoadFromDevice].Enabled = !st_.DemoMode;
    Command1[kSaveToDevice].Enabled = !st_.DemoMode;
}

void FrmStorePrj::File1_DblClick() {
    const int p = List1.listIndex();
    if (p < 0 || p >= kSpeakerSlots) {
        msg_.show(QStringLiteral("please select a position on the factory Preset list"),
                  QStringLiteral("Add preset factory"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const int f = File1.listIndex();
    if (f < 0 || f >= File1.items.size()) return;
    const QString entry = File1.items[f];
    const FileRead read = ReadImageFile(File1.Path + QLatin1Char('/') + entry, st_.FileProg);
    if (read != FileRead::Ok) {
        ShowFileReadFailure(msg_, read);
        return;
    }
    SpkRec& r = Record(st_, p);
    r.Name = entry.left(entry.size() - 4); // without ".fpo"
    for (int i = 0; i < kSpeakerSlotDataBytes; ++i)
        r.Data[static_cast<size_t>(i)] = st_.FileProg.Byte(48 + i);
    r.Status = SpkRec::kUsed;
    List1.items[p] = rowText(p);
    List1.setSelected(p, true);
}

void FrmStorePrj::Command1_Click(int index) {
    switch (index) {
    case kLoadFromDevice:
        LoadListFromDevice();
        break;
    case kLoadFromPC:
        LoadListFromPC();
        break;
    case kSaveToPC:
        SaveListToPC();
        break;
    case kSaveToDevice:
        if (msg_.show(QStringLiteral("Save preset factory list to device, are you sure?"),
                      QStringLiteral("Save List to device"), MsgButtons::YesNo) != MsgAnswer::No)
            SaveListToDevice();
        break;
    case kExit:
        Unload();
        break;
    default:
        break;
    }
}

void FrmStorePrj::SaveListToPC() {
    const std::optional<QString> path = dialogs_.SaveFile(listRequest(QStringLiteral("Save List to PC")));
    if (!path) return;
    SpeakerList list{};
    for (int s = 0; s < kSpeakerSlots; ++s) {
        SpkRec& r = Record(st_, s);
        if (!List1.selected(s) || !r.used()) r.Status = SpkRec::kEmpty;
        list[static_cast<size_t>(s)] = r;
    }
    if (!WriteWholeFile(*path, SpeakerListToBytes(list))) ShowFileNotSaved(msg_);
}

void FrmStorePrj::LoadListFromPC() {
    const std::optional<QString> path = dialogs_.OpenFile(listRequest(QStringLiteral("Load List from PC")));
    if (!path) return;
    MousePointer = 13;
    SpeakerList list{};
    const FileRead read = ReadSpeakerListFile(*path, list);
    MousePointer = 0;
    if (read != FileRead::Ok) {
        ShowFileReadFailure(msg_, read);
        return;
    }
    std::copy(list.begin(), list.end(), st_.SpkLib.begin());
    rebuildRows();
}

void FrmStorePrj::startTransfer(int max) {
    ProgressBar1.Min = 0;
    ProgressBar1.Max = max;
    ProgressBar1.setValue(0);
    ProgressBar1.Visible = true;
    MousePointer = 13;
}

void FrmStorePrj::endTransfer() {
    MousePointer = 0;
    ProgressBar1.Visible = false;
}

void FrmStorePrj::deviceLost() {
    endTransfer();
    Command1[kLoadFromDevice].Enabled = false;
    Command1[kSaveToDevice].Enabled = false;
}

void FrmStorePrj::SaveListToDevice() {
    int marked = 0;
    for (int s = 0; s < kSpeakerSlots; ++s)
        marked += List1.selected(s);
    startTransfer(kSpeakerSlotFrames * marked + 1);
    int count = 0;
    for (int s = 0; s < kSpeakerSlots; ++s) {
        SpkRec& r = Record(st_, s);
        if (!List1.selected(s) || !r.used()) continue;
        ++count;
        NameToHeaderBytes(r.Name);
        if (WriteSpeakerSlot(st_, link_, dev(), s, r, [this] { step(); })) {
            deviceLost();
            return;
        }
    }
    endTransfer();
    msg_.show(QStringLiteral("Factory preset stored, total file = ") + QString::number(count),
              QStringLiteral("Save to device"), MsgButtons::Ok, MsgIcon::Information);
}

void FrmStorePrj::LoadListFromDevice() {
    startTransfer(22 * kSpeakerSlots + 1);
    for (int s = 0; s < kSpeakerSlots; ++s) {
        const Exchange e = ReadSpeakerSlot(st_, link_, dev(), s, Record(st_, s), [this] { step(); });
        if (e == Exchange::FailedReported) {
            deviceLost();
            break;
        }
        if (e != Exchange::Done) break;
    }
    endTransfer();
    rebuildRows();
}
