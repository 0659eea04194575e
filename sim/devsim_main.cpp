// devsim: serves simulated devices on a pseudo-terminal so that the real program can talk to
// them through its real serial port code.
//
//   devsim [--device ADDR[:NAME]]... [--link PATH] [--silent ADDR]... [--silent-after ADDR:N]...
//          [--meters ADDR:B1,...,B8]... [--erase-on-usr1 ADDR:MEM]... [--late ADDR:CMD:NTH:MS]...
//          [--append ADDR:N]... [--set-id-from-new ADDR]... [--other-framing ADDR]... [--pace]
//
// Prints the terminal's path on its first line, then one line per frame received. With --link
// it also makes PATH a symbolic link to the terminal (for example appdir/COM1), so that the
// program's "COM 1" opens it. PATH may be missing or a link to an earlier pseudo-terminal;
// anything else there (a link to a real port, a file) is refused and left alone. On exit only
// the link devsim made is removed. Without --device it serves bus addresses 1 and 34. --meters
// sets the eight data bytes that the device at ADDR answers to the meter request. --silent makes
// the device at ADDR answer nothing; --silent-after ADDR:N lets it answer its first N frames and
// then nothing more. --late ADDR:CMD:NTH:MS answers the NTH request of command CMD (decimal or
// 0x..) to the device at ADDR MS milliseconds late. --append ADDR:N makes the device at ADDR send N
// more bytes after each reply; --set-id-from-new ADDR makes it answer an ID change from its new
// ID. --other-framing ADDR makes the device at ADDR send zero bytes in place of the request's
// head (reply bytes 0..3) and of 0xF7 (byte 12); a ping's byte 4 still carries the bank letter.
// --pace sends every reply at the pace of the real line (9600 baud, 10 bits a byte: a 13-byte
// reply takes 13.5 ms), one reply after the other. Options may come in any order; one that names
// an address where no device is ends devsim with status 2.
#include "sim/SimBus.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) {
    g_stop = 1;
}

// --erase-on-usr1 ADDR:MEM (repeatable) erases memory MEM (1..16) of the device at ADDR each time
// devsim receives SIGUSR1: its 48 header bytes become 0xFF, as when the device itself erased it,
// so that the program's records of that memory go stale. Each erase prints
// "erased memory MEM of ADDR".
volatile std::sig_atomic_t g_erase = 0;
void onEraseSignal(int) {
    g_erase = 1;
}

// "ADDR:N" with N in lo..hi.
bool parseAddrNumber(const QString& arg, int lo, int hi, int& addr, int& n) {
    const QStringList parts = arg.split(':');
    if (parts.size() != 2) return false;
    bool okAddr = false, okN = false;
    addr = parts[0].toInt(&okAddr);
    n = parts[1].toInt(&okN);
    return okAddr && okN && n >= lo && n <= hi;
}

// A memory to erase on SIGUSR1, "ADDR:MEM" with MEM 1..16 as the program lists it.
struct EraseRequest {
    int addr = 0;
    int memory = 0; // 1..16
};
bool parseErase(const QString& arg, EraseRequest& out) {
    return parseAddrNumber(arg, 1, 16, out.addr, out.memory);
}

double nowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Reads what the symbolic link at path points to; false when path is not a symbolic link.
bool readLink(const std::string& path, std::string& target) {
    char buf[4096];
    const ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    if (n < 0 || static_cast<size_t>(n) >= sizeof buf) return false;
    target.assign(buf, static_cast<size_t>(n));
    return true;
}

// Whether --link may use path: nothing there, or a link to a pseudo-terminal (left by an earlier
// run). A link to anything else may stand for a real port, and a file or folder is the user's.
bool linkPathFree(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    std::string target;
    return S_ISLNK(st.st_mode) && readLink(path, target) && target.rfind("/dev/pts/", 0) == 0;
}

// The eight meter bytes of a device, "ADDR:B1,...,B8" with each byte 0..255.
struct MeterBytes {
    int addr = 0;
    std::array<uint8_t, 8> bytes{};
};
bool parseMeters(const QString& arg, MeterBytes& out) {
    const QStringList parts = arg.split(':');
    if (parts.size() != 2) return false;
    bool ok = false;
    out.addr = parts[0].toInt(&ok);
    if (!ok) return false;
    const QStringList values = parts[1].split(',');
    if (values.size() != static_cast<int>(out.bytes.size())) return false;
    for (size_t i = 0; i < out.bytes.size(); ++i) {
        const int v = values[static_cast<int>(i)].trimmed().toInt(&ok);
        if (!ok || v < 0 || v > 255) return false;
        out.bytes[i] = static_cast<uint8_t>(v);
    }
    return true;
}

// A device made silent: from the start (after = 0) or once it has answered `after` frames.
struct Silence {
    int addr = 0;
    int after = 0;
    const char* option = "--silent"; // the option that asked for it
};
// "ADDR" for --silent, "ADDR:N" with N >= 0 for --silent-after.
bool parseSilence(const QString& arg, bool withCount, Silence& out) {
    const QStringList parts = arg.split(':');
    if (parts.size() != (withCount ? 2 : 1)) return false;
    bool ok = false;
    out.addr = parts[0].toInt(&ok);
    if (!ok) return false;
    out.after = withCount ? parts[1].toInt(&ok) : 0;
    return ok && out.after >= 0;
}

// A late answer, "ADDR:CMD:NTH:MS": the NTH request (from 1) of command CMD (decimal or 0x..) to
// the device at ADDR is answered MS milliseconds late.
struct LateAnswer {
    int addr = 0;
    SimDevice::LateReply late;
};
bool parseLate(const QString& arg, LateAnswer& out) {
    const QStringList parts = arg.split(':');
    if (parts.size() != 4) return false;
    bool ok[4] = {};
    out.addr = parts[0].toInt(&ok[0]);
    const QString c = parts[1].trimmed();
    const bool hex = c.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const int cmd = (hex ? c.mid(2) : c).toInt(&ok[1], hex ? 16 : 10);
    out.late.nth = parts[2].toInt(&ok[2]);
    const int ms = parts[3].toInt(&ok[3]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || cmd < 0 || cmd > 255 || out.late.nth < 1 || ms < 0)
        return false;
    out.late.cmd = static_cast<uint8_t>(cmd);
    out.late.seconds = ms / 1000.0;
    return true;
}

// Seconds until the first pending reply is due, at most `limit`.
double secondsToNext(const std::vector<SimBus::Reply>& pending, double now, double limit) {
    double next = limit;
    for (const auto& r : pending)
        next = std::min(next, r.due - now);
    return std::max(next, 0.0);
}

// Points path at the terminal. An old pseudo-terminal link is removed first; if anything else
// appears at path meanwhile, the link is not made.
bool makeLink(const std::string& path, const std::string& terminal) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && unlink(path.c_str()) != 0) return false;
    return symlink(terminal.c_str(), path.c_str()) == 0;
}

// Removes path only while it is still the link this run made.
void removeOwnLink(const std::string& path, const std::string& terminal) {
    std::string target;
    if (readLink(path, target) && target == terminal) unlink(path.c_str());
}
} // namespace

int main(int argc, char** argv) {
    SimBus bus;
    QString linkPath;
    bool anyDevice = false;
    std::vector<MeterBytes> meters; // set once every device is on the bus
    std::vector<Silence> silences;  // the same
    std::vector<EraseRequest> erasures;
    std::vector<LateAnswer> lates;
    std::vector<std::pair<int, int>> appends; // (address, bytes)
    std::vector<int> newIdAnswers;
    std::vector<int> otherFramings;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        const QString next = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        if (a == "--device" && !next.isEmpty()) {
            const QStringList parts = next.split(':');
            const int addr = parts[0].toInt();
            if (addr < 1 || addr > 65 || addr == 33) {
                std::fprintf(stderr, "devsim: bus address %d is not a device address\n", addr);
                return 2;
            }
            bus.addDevice(addr, parts.size() > 1 ? parts[1] : QString());
            anyDevice = true;
            ++i;
        } else if ((a == "--silent" || a == "--silent-after") && !next.isEmpty()) {
            Silence s;
            s.option = a == "--silent" ? "--silent" : "--silent-after";
            if (!parseSilence(next, a == "--silent-after", s)) {
                std::fprintf(stderr, a == "--silent" ? "devsim: --silent takes ADDR\n"
                                                     : "devsim: --silent-after takes ADDR:N with N 0 or more\n");
                return 2;
            }
            silences.push_back(s);
            ++i;
        } else if (a == "--meters" && !next.isEmpty()) {
            MeterBytes m;
            if (!parseMeters(next, m)) {
                std::fprintf(stderr, "devsim: --meters takes ADDR:B1,...,B8 with bytes 0..255\n");
                return 2;
            }
            meters.push_back(m);
            ++i;
        } else if (a == "--erase-on-usr1" && !next.isEmpty()) {
            EraseRequest e;
            if (!parseErase(next, e)) {
                std::fprintf(stderr, "devsim: --erase-on-usr1 takes ADDR:MEM with MEM 1..16\n");
                return 2;
            }
            erasures.push_back(e);
            ++i;
        } else if (a == "--late" && !next.isEmpty()) {
            LateAnswer l;
            if (!parseLate(next, l)) {
                std::fprintf(stderr,
                             "devsim: --late takes ADDR:CMD:NTH:MS (CMD decimal or 0x.., NTH from 1)\n");
                return 2;
            }
            lates.push_back(l);
            ++i;
        } else if (a == "--append" && !next.isEmpty()) {
            int addr = 0, count = 0;
            if (!parseAddrNumber(next, 0, 255, addr, count)) {
                std::fprintf(stderr, "devsim: --append takes ADDR:N with N 0..255\n");
                return 2;
            }
            appends.emplace_back(addr, count);
            ++i;
        } else if ((a == "--set-id-from-new" || a == "--other-framing") && !next.isEmpty()) {
            bool ok = false;
            (a == "--other-framing" ? otherFramings : newIdAnswers).push_back(next.toInt(&ok));
            if (!ok) {
                std::fprintf(stderr, "devsim: %s takes ADDR\n", qPrintable(a));
                return 2;
            }
            ++i;
        } else if (a == "--pace") {
            bus.byteTime = SimBus::kByteTime9600;
        } else if (a == "--link" && !next.isEmpty()) {
            linkPath = next;
            ++i;
        } else {
            std::fprintf(stderr, "usage: devsim [--device ADDR[:NAME]]... [--silent ADDR]... "
                                 "[--silent-after ADDR:N]... [--meters ADDR:B1,...,B8]... "
                                 "[--erase-on-usr1 ADDR:MEM]... [--late ADDR:CMD:NTH:MS]... "
                                 "[--append ADDR:N]... [--set-id-from-new ADDR]... "
                                 "[--other-framing ADDR]... [--pace] "
                                 "[--link PATH]\n");
            return 2;
        }
    }
    const std::string link = linkPath.toLocal8Bit().toStdString();
    if (!link.empty() && !linkPathFree(link)) {
        std::fprintf(stderr,
                     "devsim: %s exists and is not a link to a pseudo-terminal; remove it or choose "
                     "another path\n",
                     link.c_str());
        return 1;
    }
    if (!anyDevice) {
        bus.addDevice(1, QStringLiteral("Sim 1"));
        bus.addDevice(34, QStringLiteral("Sim 34"));
    }
    // Options that name a device act once every device is on the bus; an address where none is
    // ends devsim.
    bool unknown = false;
    auto deviceAt = [&bus, &unknown](int addr, const char* option) {
        SimDevice* d = bus.device(addr);
        if (!d && !unknown)
            std::fprintf(stderr, "devsim: %s names bus address %d, where no device is\n", option, addr);
        unknown = unknown || !d;
        return d;
    };
    for (const MeterBytes& m : meters)
        if (SimDevice* d = deviceAt(m.addr, "--meters")) d->meters = m.bytes;
    for (const Silence& q : silences)
        if (SimDevice* d = deviceAt(q.addr, q.option)) {
            if (q.after == 0)
                d->silent = true;
            else
                d->silentAfter = q.after;
        }
    for (const EraseRequest& e : erasures)
        deviceAt(e.addr, "--erase-on-usr1");
    for (const LateAnswer& l : lates)
        if (SimDevice* d = deviceAt(l.addr, "--late")) d->lateReplies.push_back(l.late);
    for (const auto& [addr, count] : appends)
        if (SimDevice* d = deviceAt(addr, "--append")) d->extraBytes = count;
    for (int addr : newIdAnswers)
        if (SimDevice* d = deviceAt(addr, "--set-id-from-new")) d->setIdFromNewId = true;
    for (int addr : otherFramings)
        if (SimDevice* d = deviceAt(addr, "--other-framing")) d->otherHead = true;
    if (unknown) return 2;

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("devsim: pseudo-terminal");
        return 1;
    }
    termios t{};
    tcgetattr(master, &t);
    cfmakeraw(&t);
    tcsetattr(master, TCSANOW, &t);
    const char* name = ptsname(master);
    if (!name) {
        std::perror("devsim: pseudo-terminal");
        return 1;
    }
    const std::string slave = name;
    // Keep one handle on the slave side so that the terminal survives the program closing it.
    const int keep = open(slave.c_str(), O_RDWR | O_NOCTTY);
    if (keep >= 0) {
        termios s{};
        tcgetattr(keep, &s);
        cfmakeraw(&s);
        tcsetattr(keep, TCSANOW, &s);
    }
    // From here on a stop request ends the loop below, which removes the link.
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (!erasures.empty()) std::signal(SIGUSR1, onEraseSignal);
    bool linked = false;
    if (!link.empty()) {
        linked = linkPathFree(link) && makeLink(link, slave);
        if (!linked) {
            std::fprintf(stderr, "devsim: cannot make the link %s\n", link.c_str());
            return 1;
        }
    }
    std::printf("%s\n", slave.c_str());
    std::fflush(stdout);

    std::vector<SimBus::Reply> pending;
    size_t shown = 0;
    while (!g_stop) {
        // Wakes for the next reply byte that falls due, so that a paced reply keeps its pace.
        pollfd p{master, POLLIN, 0};
        const double wait = secondsToNext(pending, nowSeconds(), 0.005);
        const timespec ts{0, static_cast<long>(wait * 1e9)};
        const int r = ppoll(&p, 1, &ts, nullptr);
        if (r > 0 && (p.revents & POLLIN)) {
            char buf[256];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n > 0) {
                for (auto& rep : bus.receive(QByteArray(buf, static_cast<qsizetype>(n)), nowSeconds()))
                    pending.push_back(rep);
            } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
                break;
            }
        } else if (r > 0 && (p.revents & POLLHUP)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        for (; shown < bus.frames.size(); ++shown) {
            const auto& f = bus.frames[shown];
            for (uint8_t b : f)
                std::printf("%02X ", b);
            std::printf("\n");
            std::fflush(stdout);
        }
        if (g_erase) {
            g_erase = 0;
            for (const EraseRequest& e : erasures) {
                // The device may have moved to another address meanwhile.
                SimDevice* d = bus.device(e.addr);
                if (!d) continue;
                d->eraseMemory(e.memory - 1);
                std::printf("erased memory %d of %d\n", e.memory, e.addr);
            }
            std::fflush(stdout);
        }
        const double now = nowSeconds();
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->due <= now) {
                ssize_t off = 0;
                while (off < it->bytes.size()) {
                    const ssize_t w = write(master, it->bytes.constData() + off,
                                            static_cast<size_t>(it->bytes.size() - off));
                    if (w <= 0) break;
                    off += w;
                }
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }
    if (linked) removeOwnLink(link, slave);
    if (keep >= 0) close(keep);
    close(master);
    return 0;
}
