#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Mounts for tests that need a full disk or a read-only folder. They are made
// in a private mount namespace of the test process, so the rest of the machine
// never sees them and the kernel drops them even if the test dies; they are
// also unmounted when the ScratchMount ends. Needs root: without it the
// factories return nullptr and say why, and the test skips.
class ScratchMount
{
public:
    // A tmpfs on `folder` (which must exist), e.g. options "size=64k".
    static std::unique_ptr<ScratchMount> tmpfs(const QString &folder, const QByteArray &options,
                                               QString *why);
    // `folder` bound onto itself read-only: its files stay visible, nothing
    // in it can be created, changed or removed.
    static std::unique_ptr<ScratchMount> readOnly(const QString &folder, QString *why);

    ~ScratchMount();
    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

private:
    explicit ScratchMount(const QByteArray &target) : target_(target) {}
    QByteArray target_;
};
