// Pseudo-terminals registered as virtual COM ports for tests: the test holds the master
// side and plays the far end of the line.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <vector>

class TestPty {
public:
    TestPty()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            slave_ = QString::fromLocal8Bit(ptsname(master_));
    }
    ~TestPty()
    {
        if (master_ >= 0)
            ::close(master_);
    }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const { return master_ >= 0 && !slave_.isEmpty(); }
    const QString& slavePath() const { return slave_; }

    bool write(const QByteArray& bytes)
    {
        return ::write(master_, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Everything the far end has received so far.
    QByteArray readAvailable()
    {
        QByteArray out;
        char buf[512];
        for (;;) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, qsizetype(n));
        }
        return out;
    }

private:
    int master_ = -1;
    QString slave_;
};

// A private kestrel-ports directory: XDG_RUNTIME_DIR points at a temporary folder.
class TestPortDir {
public:
    TestPortDir()
    {
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
        QDir(runtime_.path()).mkpath(QStringLiteral("kestrel-ports"));
    }
    QString dir() const { return runtime_.filePath(QStringLiteral("kestrel-ports")); }

    bool link(int number, const QString& device)
    {
        return QFile::link(device, dir() + QStringLiteral("/COM%1").arg(number));
    }
    void unlinkAll()
    {
        QDir d(dir());
        for (const QString& f : d.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            d.remove(f);
    }

private:
    QTemporaryDir runtime_;
};
