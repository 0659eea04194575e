#include "bus/ScanBus.h"

#include "common/Numbers.h"

#include <cmath>

namespace {
// Pings twice; only the second answer counts. For a device whose replies echo the request, the
// first ping's answer is known to be its own: when the second reply then comes too late (it is
// dropped wherever it lands, never taken for the next address's), one more ping decides, so that
// a device slow for once is still listed.
bool PingTwice(Link& link, int a) {
    const bool first = link.PingDevice(a, CmdPing);
    if (link.PingDevice(a, CmdPing)) return true;
    if (first && link.LastExchange() == Exchange::Failed && link.RepliesEcho(a))
        return link.PingDevice(a, CmdPing);
    return false;
}

void MarkPresent(AppState& st, int a) {
    auto& rec = st.DevTable[static_cast<size_t>(a)];
    rec.Address = static_cast<int16_t>(a);
    rec.Present = 1;
    ++st.FoundLast;
    st.FoundList[static_cast<size_t>(st.FoundLast)] = static_cast<int16_t>(a);
}

const char* ModelName(int m) {
    return m == 0 ? "Kestrino" : "Valdoran";
}
} // namespace

QString ScanPercentText(int i, int divisor, int32_t decimalComma) {
    const double tenths = std::floor(static_cast<double>(i) / divisor * 1000.0);
    return NumberText(tenths / 10.0, decimalComma);
}

bool ScanBus(AppState& st, Link& link, Clock& clock, ScanLabels labels) {
    auto refresh = [&] {
        if (labels.Refresh) labels.Refresh();
    };
    auto setPercent = [&](const QString& t) {
        if (labels.Label2) labels.Label2->Caption = t;
        refresh();
    };
    st.FoundLast = -1;
    bool found = false;
    if (labels.Label2) labels.Label2->Visible = true;
    st.DeviceDisconnected.fill(true);
    if (labels.Label3) labels.Label3->Visible = true;

    int count = 32, divisor = 32;
    const bool chain = st.TenIdChain || st.TwentyIdChain;
    if (st.TenIdChain)
        count = 10, divisor = 9;
    else if (st.TwentyIdChain)
        count = 20, divisor = 19;

    auto alreadyFound = [&](int a) {
        for (int r = 0; r <= st.FoundLast; ++r)
            if (st.FoundList[static_cast<size_t>(r)] == a) return true;
        return false;
    };
    for (int m = 0; m < 2; ++m) {
        if ((st.ModelMask & (1 << m)) == 0) continue;
        if (labels.Label3) labels.Label3->Caption = QString::fromLatin1(ModelName(m));
        refresh();
        for (int k = 0; k < count; ++k) {
            const int i = chain ? k : k + 1;
            setPercent(ScanPercentText(i, divisor, st.DecimalComma) + QStringLiteral(" %"));
            const int id = chain ? st.ChainIds[static_cast<size_t>(i)] : i;
            const int a = id + 33 * m;
            // A configured ID whose address lies outside the device table is not probed.
            if (!ValidBusAddress(a)) continue;
            // A chain ID above 32 of the first model is also an ID of the second: one row each.
            if (alreadyFound(a)) continue;
            if (PingTwice(link, a)) {
                MarkPresent(st, a);
                found = true;
                if (!chain) clock.sleepMs(50);
            } else {
                st.DevTable[static_cast<size_t>(a)].Present = 0;
            }
        }
        setPercent(QStringLiteral("0 %"));
    }
    if (labels.Label2) labels.Label2->Visible = false;
    if (labels.Label3) labels.Label3->Visible = false;
    refresh();
    return found;
}

FrmWait::FrmWait(AppState& st, Link& link, DeviceListHost* deviceList)
    : st_(st), link_(link), deviceList_(deviceList) {
    Label1.Caption = QStringLiteral("Buscando nuevo ID");
    Label3.Caption = QStringLiteral("Por favor espere.........");
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void FrmWait::Form_Load() {
    closed_ = false;
    Timer1.Interval = 300;
    Timer1.Enabled = true;
}

void FrmWait::Timer1_Timer() {
    if (!Timer1.Enabled) return;
    Timer1.Enabled = false;
    st_.FoundLast = -1;
    st_.DeviceDisconnected.fill(true);
    for (int m = 0; m < 2; ++m) {
        for (int id = 1; id <= 32; ++id) {
            Label2.Caption = QString::fromLatin1(ModelName(m)) + QStringLiteral(" ") +
                             ScanPercentText(id, 32, st_.DecimalComma) + QStringLiteral("%");
            if (Refresh) Refresh();
            const int a = 33 * m + id;
            if (PingTwice(link_, a)) {
                MarkPresent(st_, a);
                st_.NetworkMode = st_.FoundLast > 0;
            } else {
                st_.DevTable[static_cast<size_t>(a)].Present = 0;
            }
        }
    }
    closed_ = true;
    Unload();
    if (deviceList_) deviceList_->ShowDeviceList(QStringLiteral("Lista ID"));
}
