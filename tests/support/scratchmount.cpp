#include "scratchmount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString errnoText(const char *what)
{
    return QString::fromLatin1(what) + u": "_s + QString::fromLocal8Bit(std::strerror(errno));
}

// Entered once per process; a mount made in it is not seen outside the test.
bool enterPrivateNamespace(QString *why)
{
    static const QString reason = [] {
        if (::geteuid() != 0)
            return u"needs root to mount"_s;
        if (::unshare(CLONE_NEWNS) != 0)
            return errnoText("unshare(CLONE_NEWNS)");
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return errnoText("making / private");
        return QString();
    }();
    if (!reason.isEmpty() && why)
        *why = reason;
    return reason.isEmpty();
}

} // namespace

std::unique_ptr<ScratchMount> ScratchMount::tmpfs(const QString &folder, const QByteArray &options,
                                                  QString *why)
{
    if (!enterPrivateNamespace(why))
        return nullptr;
    const QByteArray target = QFile::encodeName(folder);
    if (::mount("plimsa-test", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        *why = errnoText("mount -t tmpfs");
        return nullptr;
    }
    return std::unique_ptr<ScratchMount>(new ScratchMount(target));
}

std::unique_ptr<ScratchMount> ScratchMount::readOnly(const QString &folder, QString *why)
{
    if (!enterPrivateNamespace(why))
        return nullptr;
    const QByteArray target = QFile::encodeName(folder);
    if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
        *why = errnoText("mount --bind");
        return nullptr;
    }
    std::unique_ptr<ScratchMount> mounted(new ScratchMount(target));
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        *why = errnoText("mount -o remount,bind,ro");
        return nullptr;
    }
    return mounted;
}

ScratchMount::~ScratchMount()
{
    ::umount2(target_.constData(), MNT_DETACH);
}
