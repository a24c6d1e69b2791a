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

bool enterPrivateNamespace(QString *why)
{
    static int state = 0; // 0 not tried, 1 entered, -1 impossible
    static QString reason;
    if (state == 0) {
        if (::geteuid() != 0) {
            reason = u"needs root to mount"_s;
            state = -1;
        } else if (::unshare(CLONE_NEWNS) != 0) {
            reason = errnoText("unshare(CLONE_NEWNS)");
            state = -1;
        } else if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            reason = errnoText("making / private");
            state = -1;
        } else {
            state = 1;
        }
    }
    if (state < 0 && why)
        *why = reason;
    return state > 0;
}

} // namespace

std::unique_ptr<ScratchMount> ScratchMount::tmpfs(const QString &folder, const QByteArray &options,
                                                  QString *why)
{
    if (!enterPrivateNamespace(why))
        return nullptr;
    const QByteArray target = QFile::encodeName(folder);
    if (::mount("plimsa-test", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        != 0) {
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
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr)
        != 0) {
        *why = errnoText("mount -o remount,bind,ro");
        return nullptr;
    }
    return mounted;
}

ScratchMount::~ScratchMount()
{
    if (::umount(target_.constData()) != 0)
        ::umount2(target_.constData(), MNT_DETACH);
}
