#include "memories/SpeakerLibrary.h"

#include "memories/PcFiles.h"
#include "memories/SpeakerList.h"

FileDialogRequest SpeakerLibRequest(const AppState& st, int dev) {
    return {QString(), ModelFolder(st, dev, QStringLiteral("FirmwareLib")),
            QStringLiteral("file Speaker (*.y12)"), QStringLiteral("*.y12")};
}

int OpenSpeakerLibFile(AppState& st, MessageBoxService& msg, DialogService& dialogs, int dev) {
    const std::optional<QString> path = dialogs.OpenFile(SpeakerLibRequest(st, dev));
    if (!path) return kNoSpeakerLib;
    SpeakerList list{};
    const FileRead read = ReadSpeakerListFile(*path, list);
    // A file that does not hold sixteen whole records is not a speaker list: the library loaded
    // before stays, and the file is left alone.
    if (read == FileRead::TooShort) return 0;
    if (read != FileRead::Ok) {
        ShowFileReadFailure(msg, read);
        return kNoSpeakerLib;
    }
    int used = 0;
    for (int s = 0; s < kSpeakerSlots; ++s) {
        const SpkRec& r = list[static_cast<size_t>(s)];
        st.SpkLib[static_cast<size_t>(s)] = r;
        st.SpkSelected[static_cast<size_t>(s)] = r.used();
        used += r.used();
    }
    return used;
}

int DownloadSpeakerLib(AppState& st, Link& link, int dev, const std::function<void()>& step) {
    int count = 0;
    if (!ValidBusAddress(dev)) return count;
    for (int s = 0; s < kSpeakerSlots; ++s) {
        SpkRec& r = st.SpkLib[static_cast<size_t>(s)];
        if (!st.SpkSelected[static_cast<size_t>(s)] || !r.used()) continue;
        ++count;
        if (WriteSpeakerSlot(st, link, dev, s, r, step)) break;
    }
    return count;
}
