// devsim: serves simulated devices on a pseudo-terminal so that the real program can talk to
// them through its real serial port code.
//
//   devsim [--device ADDR[:NAME]]... [--link PATH] [--silent ADDR]...
//
// Prints the terminal's path on its first line, then one line per frame received. With --link
// it also makes PATH a symbolic link to the terminal (for example appdir/COM1), so that the
// program's "COM 1" opens it. Without --device it serves bus addresses 1 and 34.
#include "sim/SimBus.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {
volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

double nowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
} // namespace

int main(int argc, char** argv) {
    SimBus bus;
    QString linkPath;
    bool anyDevice = false;
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
        } else if (a == "--silent" && !next.isEmpty()) {
            if (SimDevice* d = bus.device(next.toInt())) d->silent = true;
            ++i;
        } else if (a == "--link" && !next.isEmpty()) {
            linkPath = next;
            ++i;
        } else {
            std::fprintf(stderr, "usage: devsim [--device ADDR[:NAME]]... [--silent ADDR]... [--link PATH]\n");
            return 2;
        }
    }
    if (!anyDevice) {
        bus.addDevice(1, QStringLiteral("Sim 1"));
        bus.addDevice(34, QStringLiteral("Sim 34"));
    }

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("devsim: pseudo-terminal");
        return 1;
    }
    termios t{};
    tcgetattr(master, &t);
    cfmakeraw(&t);
    tcsetattr(master, TCSANOW, &t);
    const char* slave = ptsname(master);
    // Keep one handle on the slave side so that the terminal survives the program closing it.
    const int keep = open(slave, O_RDWR | O_NOCTTY);
    if (keep >= 0) {
        termios s{};
        tcgetattr(keep, &s);
        cfmakeraw(&s);
        tcsetattr(keep, TCSANOW, &s);
    }
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(QString::fromLocal8Bit(slave), linkPath))
            std::fprintf(stderr, "devsim: cannot make the link %s\n", qPrintable(linkPath));
    }
    std::printf("%s\n", slave);
    std::fflush(stdout);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    std::vector<SimBus::Reply> pending;
    size_t shown = 0;
    while (!g_stop) {
        pollfd p{master, POLLIN, 0};
        const int r = poll(&p, 1, 5);
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
            for (uint8_t b : f) std::printf("%02X ", b);
            std::printf("\n");
            std::fflush(stdout);
        }
        const double now = nowSeconds();
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->due <= now) {
                ssize_t off = 0;
                while (off < it->bytes.size()) {
                    const ssize_t w = write(master, it->bytes.constData() + off, static_cast<size_t>(it->bytes.size() - off));
                    if (w <= 0) break;
                    off += w;
                }
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }
    if (!linkPath.isEmpty()) QFile::remove(linkPath);
    if (keep >= 0) close(keep);
    close(master);
    return 0;
}
