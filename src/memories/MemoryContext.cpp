#include "memories/MemoryContext.h"

#include "bus/DeviceRead.h"
#include "common/NameCode.h"

QStringList MemoryListRows(const DeviceRec& rec) {
    QStringList rows;
    for (int m = 0; m < kUserMemories; ++m)
        rows << TwoDigits(m + 1) + QStringLiteral(": ") + rec.MemName[static_cast<size_t>(m)];
    return rows;
}

QString EmptyMemoryFullName(const ConstantTables& t) {
    QString name;
    for (const QString& c : t.EmptyMemName)
        name += c;
    return name;
}

QString MemoryCaption(const AppState& st, int dev, int m) {
    const int model = st.ModelCode[static_cast<size_t>(dev)];
    const QString modelCaption = model >= 0 && model < static_cast<int>(st.Tables.ModelCaption.size())
                                     ? st.Tables.ModelCaption[static_cast<size_t>(model)]
                                     : QString();
    const QString name =
        ValidMemory(m) ? st.DevRecs[static_cast<size_t>(dev)].MemName[static_cast<size_t>(m)] : QString();
    return QStringLiteral("ID:") + QString::number(dev % 33) + QStringLiteral(" - ") + modelCaption +
           QStringLiteral(" - Ultimo programa cargado: en equipo: P") + FormatProgNumber(m) +
           QStringLiteral(" - ") + name;
}

std::pair<uint8_t, uint8_t> AddressBytes(int address) {
    return {static_cast<uint8_t>((address >> 8) & 0xFF), static_cast<uint8_t>(address & 0xFF)};
}
