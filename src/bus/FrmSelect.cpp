#include "bus/FrmSelect.h"

#include "common/NameCode.h"
#include "link/Protocol.h"
#include "platform/QtSerialPortAdapter.h"

namespace {
const QString kQuitQuestion = QStringLiteral("                Esta seguro ? ");
const QString kIdButton = QStringLiteral("Configurar ID equipo");
const QString kSearching = QStringLiteral("Buscando equipo ID.....");
const QString kWarning = QStringLiteral("Advertencia");
constexpr double kIdReplyLimit = 0.3; // seconds: the panel's one-shot receive time-out
constexpr int kPollMs = 10;

void Place(Control& c, int left, int top, int width, int height) {
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
}
} // namespace

QString FoundDeviceCaption(int busAddress, const QString& name) {
    return QStringLiteral("ID:") + QString::number(busAddress % 33) + QStringLiteral(" = ") + name;
}

FrmSelect::FrmSelect(AppState& st, Services& sv, SerialPort& idPort)
    : st_(st), sv_(sv), idPort_(idPort), equipo_(st, ModelChosen) {
    Place(Frame10, 120, 0, 2535, 735);
    Command3.Caption = kIdButton;
    Place(Command3, 240, 180, 2055, 435);

    Frame1.Caption = QStringLiteral("Conexion RS485 ");
    Place(Frame1, 120, 840, 2535, 1095);
    const char* modes[4] = {"con 1 equipo", "with 2 or max 20 device", "with 2 or max 10 device",
                            "con mas de 1 equipo"};
    const int modeTops[4] = {360, 2640, 2280, 720};
    for (int i = 0; i < 4; ++i) {
        Option1[static_cast<size_t>(i)].Caption = QString::fromLatin1(modes[i]);
        Place(Option1[static_cast<size_t>(i)], 240, modeTops[i], 2175, 255);
        Option1[static_cast<size_t>(i)].group = {&Option1[0], &Option1[1], &Option1[2], &Option1[3]};
        Option1[static_cast<size_t>(i)].Click = [this, i] { Option1_Click(i); };
    }

    Frame9.Caption = QStringLiteral("Seleccionar equipo");
    Place(Frame9, 120, 2040, 2535, 975);
    for (int i = 0; i < 2; ++i) {
        Place(Frame12[static_cast<size_t>(i)], 120, 240, 2295, 615);
        Option3[static_cast<size_t>(i)].Caption =
            i == 0 ? QStringLiteral("Kestrino") : QStringLiteral("Valdoran");
        Option3[static_cast<size_t>(i)].group = {&Option3[0], &Option3[1]};
        Place(Option3[static_cast<size_t>(i)], 60 + 1080 * i, 180, 1020 + 120 * i, 255);
        Check1[static_cast<size_t>(i)].Caption = Option3[static_cast<size_t>(i)].Caption;
        Place(Check1[static_cast<size_t>(i)], 60 + 1080 * i, 180, 1020 + 120 * i, 255);
    }
    Option3[0].setValue(true);

    Frame2.Caption = QStringLiteral("Seleccionar ID");
    Place(Frame2, 120, 3120, 2535, 735);
    Place(Combo2, 240, 300, 2055, 315);
    Combo2.Click = [this] { Combo2_Click(); };

    Frame3.Caption = QStringLiteral("Seleccionar puerto");
    Place(Frame3, 120, 3960, 2535, 735);
    Place(Combo1, 240, 300, 2055, 315);
    Combo1.items << QStringLiteral("NONE");
    for (int n = 1; n <= 32; ++n)
        Combo1.items << QStringLiteral("COM %1").arg(n);
    Combo1.Click = [this] { Combo1_Click(); };

    Place(Frame11, 120, 4800, 2535, 855);
    Command1[0].Caption = QStringLiteral("Aceptar");
    Command1[1].Caption = QStringLiteral("Salir");
    Place(Command1[1], 120, 240, 1095, 495);
    Place(Command1[0], 1320, 240, 1095, 495);

    for (int g = 0; g < 2; ++g) {
        Frame4[static_cast<size_t>(g)].Caption = QStringLiteral("Set device ID");
        Place(Frame4[static_cast<size_t>(g)], 5280 + 2400 * g, 360, 2295, 4335);
    }
    for (int i = 0; i < 20; ++i) {
        Label1[static_cast<size_t>(i)].Caption = QStringLiteral("Device%1 with ID:").arg(i + 1);
        Place(Label1[static_cast<size_t>(i)], 120, 300 + 390 * (i % 10), 1335, 255);
        Place(Combo3[static_cast<size_t>(i)], 1500, 270 + 390 * (i % 10), 675, 315);
        Combo3[static_cast<size_t>(i)].Click = [this, i] { Combo3_Click(i); };
    }
    Command3.Click = [this] { Command3_Click(); };
    for (int i = 0; i < 2; ++i) {
        Command1[static_cast<size_t>(i)].Click = [this, i] { Command1_Click(i); };
        Command2[static_cast<size_t>(i)].Click = [this, i] { Command2_Click(i); };
    }
    Command17.Caption = QStringLiteral("Reset Eeprom");
    Place(Command17, 6240, 4800, 2295, 615);

    Frame6.Caption = QStringLiteral("Configurar ID");
    Place(Frame6, 120, 0, 2535, 5655);
    Frame7.Caption = QStringLiteral("Conexion ID");
    Place(Frame7, 120, 240, 2295, 1335);
    Label2[0].Caption = QStringLiteral("Select ID");
    Place(Label2[0], 120, 300, 2055, 255);
    Place(Combo5, 120, 660, 2055, 315);
    Frame13.Caption = QStringLiteral("Seleccionar equipo");
    Place(Frame13, 120, 1680, 2295, 735);
    Label3.Caption = QStringLiteral("Equipo = ");
    Place(Label3, 120, 330, 2055, 255);
    Frame8.Caption = QStringLiteral("ID Disponible");
    Place(Frame8, 120, 2520, 2295, 1335);
    Label2[1].Caption = QStringLiteral("Seleccionar nuevo ID");
    Place(Label2[1], 120, 300, 2055, 255);
    Place(Combo4, 120, 660, 2055, 315);
    Command2[0].Caption = QStringLiteral("Seleccionar ID");
    Command2[1].Caption = QStringLiteral("<<");
    Place(Command2[1], 120, 4080, 855, 495);
    Place(Command2[0], 1080, 4080, 1335, 495);
    SerialTimer.Interval = 100;
    SerialTimer.Enabled = false;
    SerialTimer.Tick = [this] { SerialTimer_Timer(); };
}

// ---- Load ----

void FrmSelect::Form_Load() {
    Frame6.Visible = false;
    st_.ReportCommErrors = false;

    st_.ChainIds = ReadDeviceIds(st_.AppFolder);
    for (int i = 0; i < 20; ++i) {
        ComboBox& box = Combo3[static_cast<size_t>(i)];
        box.items.clear();
        for (int v = 0; v <= 65; ++v)
            box.items << QString::number(v);
        // An ID the box cannot show reads as 1, like a stored 0.
        const int id = st_.ChainIds[static_cast<size_t>(i)];
        box.setListIndex(id >= 0 && id <= 65 ? id : 1);
    }

    Option1[0].setValue(true);

    Combo2.items.clear();
    for (int v = 0; v <= 32; ++v)
        Combo2.items << QString::number(v);
    Combo2.setListIndex(1);

    st_.SingleDeviceAddress = 1;
    st_.NetworkMode = false;

    PortSettings = ReadPortSettings(st_.AppFolder);
    // A port the list does not hold reads as "NONE".
    if (PortSettings.CommPortNumber < 0 || PortSettings.CommPortNumber > 32) PortSettings.CommPortNumber = 0;
    st_.CommPortNumber = PortSettings.CommPortNumber;
    if (Combo1.listIndex() == st_.CommPortNumber)
        Combo1_Click(); // written back in any case
    else
        Combo1.setListIndex(st_.CommPortNumber);

    Option1[0].setValue(true);
    Check1[0].setValue(1);
    Check1[1].setValue(1);
    QuitOnClose = true;
}

// ---- Lists ----

void FrmSelect::Combo1_Click() {
    st_.CommPortNumber = static_cast<int16_t>(Combo1.listIndex());
    PortSettings.CommPortNumber = static_cast<int16_t>(st_.CommPortNumber);
    WritePortSettings(st_.AppFolder, PortSettings);
}

void FrmSelect::Combo2_Click() {
    if (inOneDeviceMode() && Combo2.listIndex() == 0) {
        Combo2.setListIndex(1);
        return; // the handler ran again for "1"
    }
    st_.SingleDeviceAddress = static_cast<int16_t>(Combo2.listIndex());
}

void FrmSelect::Combo3_Click(int index) {
    if (index < 0 || index >= 20) return;
    ComboBox& box = Combo3[static_cast<size_t>(index)];
    if (box.listIndex() == 0) {
        box.setListIndex(1);
        return;
    }
    st_.ChainIds[static_cast<size_t>(index)] = static_cast<int16_t>(box.listIndex());
}

void FrmSelect::Option1_Click(int index) {
    switch (index) {
    case 0:
        st_.NetworkMode = false;
        st_.TenIdChain = false;
        st_.TwentyIdChain = false;
        Width = 2805;
        break;
    case 3:
        st_.NetworkMode = true;
        st_.TenIdChain = false;
        st_.TwentyIdChain = false;
        Width = 2805;
        break;
    case 2:
        st_.NetworkMode = true;
        st_.TenIdChain = true;
        st_.TwentyIdChain = false;
        Width = 5190;
        break;
    case 1:
        st_.NetworkMode = true;
        st_.TenIdChain = false;
        st_.TwentyIdChain = true;
        Width = 7600;
        break;
    default:
        return;
    }
    // One device: the single model choice in front; several: the check boxes.
    Frame12[1].Visible = index == 0;
    Frame12[0].Visible = index != 0;
    Frame2.Enabled = index == 0;
    Combo2.Enabled = index == 0;
}

// ---- Aceptar, Salir and closing ----

bool FrmSelect::CheckTenIdsDifferent() const {
    for (int i = 0; i < 9; ++i)
        for (int j = i + 1; j < 10; ++j)
            if (Combo3[static_cast<size_t>(i)].listIndex() == Combo3[static_cast<size_t>(j)].listIndex())
                return false;
    return true;
}

bool FrmSelect::CheckTwentyIdsDifferent() const {
    for (int i = 0; i < 19; ++i)
        for (int j = i + 1; j < 20; ++j)
            if (Combo3[static_cast<size_t>(i)].listIndex() == Combo3[static_cast<size_t>(j)].listIndex())
                return false;
    return true;
}

void FrmSelect::Command1_Click(int index) {
    if (index == 1) {
        QuitOnClose = true;
        Unload();
        return;
    }
    if (index != 0) return;
    const bool differ = st_.TenIdChain      ? CheckTenIdsDifferent()
                        : st_.TwentyIdChain ? CheckTwentyIdsDifferent()
                                            : true;
    if (!differ) {
        sv_.msg.show(QStringLiteral("All ID must be different!"), QStringLiteral("QRX"), MsgButtons::Ok,
                     MsgIcon::Critical);
        return;
    }
    QuitOnClose = false;
    WriteDeviceIds(st_.AppFolder, st_.ChainIds);
    if (inOneDeviceMode()) {
        st_.ModelMask = Option3[1].value() ? 2 : 1;
    } else {
        st_.ModelMask = static_cast<int16_t>((Check1[0].value() ? 1 : 0) + 2 * (Check1[1].value() ? 1 : 0));
        if (st_.ModelMask == 0) {
            sv_.msg.show(QStringLiteral("Seleccionar equipo"), QStringLiteral("QRX"), MsgButtons::Ok,
                         MsgIcon::Critical);
            // Start-up must not go on without a model: closing asks again and ends the program.
            QuitOnClose = true;
            return;
        }
    }
    Unload();
}

void FrmSelect::Form_QueryUnload(bool& cancel) {
    if (st_.IdConfigPending) {
        cancel = true;
        return;
    }
    if (QuitOnClose) {
        if (sv_.msg.show(kQuitQuestion, QStringLiteral("Salir"), MsgButtons::YesNo, MsgIcon::None) ==
            MsgAnswer::Yes) {
            endProgram_ = true;
            return;
        }
        cancel = true;
    }
    QuitOnClose = true;
}

bool FrmSelect::Unload() {
    if (closed_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) return false;
    // The dialog's own port is closed before the main window opens the program's port.
    if (idPort_.isOpen()) idPort_.close();
    SerialTimer.Enabled = false;
    closed_ = true;
    return true;
}

// ---- Device ID configuration ----

void FrmSelect::setMainColumnEnabled(bool on) {
    Frame1.Enabled = on;
    Frame2.Enabled = on;
    Frame3.Enabled = on;
    Frame9.Enabled = on;
    Frame4[0].Enabled = on;
    Frame4[1].Enabled = on;
    Command1[0].Enabled = on;
    Command1[1].Enabled = on;
}

void FrmSelect::restoreMainColumn() {
    setMainColumnEnabled(true);
    Command3.Caption = kIdButton;
}

void FrmSelect::Command3_Click() {
    if (exchangeRunning_) return;
    ModelChosen = false;
    equipo_.Form_Load();
    sv_.dialogs.ShowModal(equipo_);
    sv_.clock.sleepMs(100);
    if (!ModelChosen) return;
    Command3.Caption = kSearching;
    Width = 2805;
    if (Option1[0].value())
        Option1_Click(0);
    else
        Option1[0].setValue(true);
    setMainColumnEnabled(false);
    MousePointer = 13;
    refresh();
    FindDeviceId();
    MousePointer = 0;
    if (st_.ModelMask == 1)
        Label3.Caption = QStringLiteral("Equipo = Kestrino");
    else if (st_.ModelMask == 2)
        Label3.Caption = QStringLiteral("Equipo = Valdoran");
}

void FrmSelect::OpenSerialPort() {
    if (idPort_.isOpen()) idPort_.close();
    idEcho_.reset();
    st_.PortOpened = false;
    st_.PortReady = false;
    if (st_.CommPortNumber < 1 || st_.CommPortNumber > 32) return; // "NONE" opens nothing
    sv_.clock.sleepMs(100);
    if (!idPort_.open(PortDeviceName(st_.CommPortNumber, st_.AppFolder))) return;
    sv_.clock.sleepMs(100);
    st_.PortOpened = true;
    st_.PortReady = true;
}

void FrmSelect::FindDeviceId() {
    st_.CommSuspended = false;
    st_.PortReady = true;
    OpenSerialPort();
    if (!st_.PortOpened) {
        sv_.msg.show(QStringLiteral("COM no encontrado"), kWarning, MsgButtons::Ok, MsgIcon::Critical);
        restoreMainColumn();
        return;
    }
    FoundCount = 0;
    const int first = st_.ModelMask == 2 ? 34 : 1;
    const int last = st_.ModelMask == 2 ? 65 : 32;
    for (int a = first; a <= last; ++a) {
        const auto id = static_cast<uint8_t>(a % 33);
        bool failed = true;
        SendFrameWait(CmdPing, id, 0, 0, 0, 0, failed);
        Command3.Caption = QStringLiteral("Buscando equipo ID..") + QString::number(id);
        refresh();
        if (failed) continue;
        st_.IdConfigPending = true;
        FoundIds[static_cast<size_t>(FoundCount)] = static_cast<int16_t>(a);
        ++FoundCount;
        QString& name = st_.DeviceName[static_cast<size_t>(a)];
        name.clear();
        bool nameFailed = true;
        SendFrameWait(CmdRead8, id, 0, 32, 0, 0, nameFailed);
        // A name read that got no reply leaves the name empty: an earlier reply is not a name.
        if (nameFailed) continue;
        for (int j = 0; j < 8; ++j) {
            const uint8_t b = st_.RxBuf[static_cast<size_t>(4 + j)];
            name += DecodeNameChar(b == 0xFF ? 0 : b);
        }
    }

    Combo4.items.clear();
    Combo4.setListIndex(-1);
    Combo5.items.clear();
    Combo5.setListIndex(-1);
    for (int k = 0; k < FoundCount; ++k) {
        const int a = FoundIds[static_cast<size_t>(k)];
        Combo5.items << FoundDeviceCaption(a, st_.DeviceName[static_cast<size_t>(a)]);
    }
    for (int v = first; v <= last; ++v) {
        bool found = false;
        for (int k = 0; k < FoundCount; ++k)
            found = found || FoundIds[static_cast<size_t>(k)] == v;
        if (!found) Combo4.items << QString::number(v % 33);
    }

    if (FoundCount == 0) {
        sv_.msg.show(QStringLiteral("Equipo esta desconectado"), kWarning, MsgButtons::Ok, MsgIcon::Critical);
        restoreMainColumn();
        return;
    }
    // With every ID taken there is no free ID to give.
    Command2[0].Enabled = !Combo4.items.isEmpty();
    Command2[1].Enabled = true;
    Combo4.Enabled = true;
    Combo5.Enabled = true;
    Frame6.Visible = true;
    Combo4.setListIndex(0);
    Combo5.setListIndex(0);
}

void FrmSelect::SerialTimer_Timer() {
    st_.RxTimeout = true;
}

void FrmSelect::SendFrameWait(uint8_t cmd, uint8_t id, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4,
                              bool& failed) {
    failed = true;
    if (st_.ModelMask == 1)
        st_.BankLetter = kBankFirst;
    else if (st_.ModelMask == 2)
        st_.BankLetter = kBankSecond;
    st_.TxBuf = DeviceFrame(st_.BankLetter, id, cmd, Data8{d1, d2, d3, d4, 0, 0, 0, 0});
    if (!idPort_.isOpen()) return;
    exchangeRunning_ = true;
    // A late reply to an earlier request must not answer this one.
    idPort_.clearInput();
    idRx_.clear();
    const QByteArray bytes(reinterpret_cast<const char*>(st_.TxBuf.data()),
                           static_cast<qsizetype>(st_.TxBuf.size()));
    if (!idPort_.write(bytes) || idPort_.hasError()) {
        exchangeRunning_ = false;
        return; // a port error is no answer
    }
    idEcho_.sent(st_.TxBuf);
    if (cmd == CmdSignOff) {
        exchangeRunning_ = false;
        failed = false;
        return;
    }
    st_.RxTimeout = false;
    SerialTimer.Interval = 300;
    SerialTimer.Enabled = true;
    const double t0 = sv_.clock.nowSeconds();
    bool answered = false;
    for (;;) {
        sv_.events.processEvents();
        // The timer's tick, measured on the program's clock.
        if (sv_.clock.nowSeconds() - t0 >= kIdReplyLimit) SerialTimer_Timer();
        if (st_.RxTimeout) {
            answered = idEcho_.replyInAtLimit(idRx_, st_.TxBuf);
            break;
        }
        if (idReplyIn()) {
            answered = true;
            break;
        }
        idPort_.waitForData(kPollMs);
        if (idPort_.hasError()) break;
    }
    SerialTimer.Enabled = false;
    exchangeRunning_ = false;
    if (!answered) return;
    st_.RxInput = idRx_ + idPort_.readAll();
    idRx_.clear();
    if (st_.RxInput.size() < kReplyLength) return;
    for (int i = 0; i < kReplyLength; ++i)
        st_.RxBuf[static_cast<size_t>(i)] = static_cast<uint8_t>(st_.RxInput[i]);
    idPort_.clearInput();
    if (cmd == CmdPing) idEcho_.learnFromPing(st_.RxBuf.data(), st_.TxBuf);
    failed = cmd == CmdPing ? st_.RxBuf[4] != st_.BankLetter : false;
}

bool FrmSelect::idReplyIn() {
    if (idPort_.bytesWaiting() > 0) idRx_ += idPort_.readAll();
    return idEcho_.replyIn(idRx_, st_.TxBuf);
}

void FrmSelect::Command2_Click(int index) {
    if (exchangeRunning_) return; // one exchange at a time on the panel's buffers
    if (index == 1) {
        bool failed = false;
        SendFrameWait(CmdSignOff, 0, 0, 0, 0, 0, failed);
        if (idPort_.isOpen()) idPort_.close();
        Frame6.Visible = false;
        setMainColumnEnabled(true);
        Command3.Caption = kIdButton;
        st_.IdConfigPending = false;
        return;
    }
    if (index != 0) return;
    const int row = Combo5.listIndex();
    const int freeRow = Combo4.listIndex();
    if (row < 0 || row >= FoundCount || freeRow < 0) return;
    OldId = static_cast<uint8_t>(FoundIds[static_cast<size_t>(row)]);
    const int chosen = Combo4.text().toInt();
    NewId = static_cast<int16_t>(st_.ModelMask == 2 ? chosen + 33 : chosen);
    bool failed = true;
    SendFrameWait(CmdSetId, static_cast<uint8_t>(OldId % 33), static_cast<uint8_t>(NewId % 33), 0, 0, 0,
                  failed);
    if (failed) {
        // The device kept its ID: the lists stay as they are.
        sv_.msg.show(QStringLiteral("Equipo esta desconectado"), QStringLiteral("Configurar ID equipo"),
                     MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    sv_.msg.show(QStringLiteral("Actualizando ID"), QStringLiteral("Configurar ID equipo"), MsgButtons::Ok,
                 MsgIcon::Information);
    const QString name = st_.DeviceName[static_cast<size_t>(OldId)];
    Combo5.items[row] = FoundDeviceCaption(NewId, name);
    Combo4.items[freeRow] = QString::number(OldId % 33);
    // The entry now stands for the device at its new address, so a second change reaches it.
    FoundIds[static_cast<size_t>(row)] = NewId;
    if (ValidBusAddress(NewId)) st_.DeviceName[static_cast<size_t>(NewId)] = name;
    refresh();
}
