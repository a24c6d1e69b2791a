#include "store/recoveryfile.h"

#include "platform/fd.h"
#include "platform/syscalls.h"
#include "store/codepage.h"
#include "store/localfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>

using namespace Qt::StringLiterals;

namespace RecoveryFile {

namespace {

const QByteArray kHead = "Plimsa recovery 1";
const QString kName = u"recovery.dat"_s;

QByteArray kindName(RecoveryCopy::Kind kind)
{
    switch (kind) {
    case RecoveryCopy::Kind::NewEntry:
        return "new";
    case RecoveryCopy::Kind::Mask:
        return "mask";
    case RecoveryCopy::Kind::Entry:
        break;
    }
    return "entry";
}

std::optional<RecoveryCopy::Kind> kindOf(const QByteArray &name)
{
    for (const auto kind :
         {RecoveryCopy::Kind::Entry, RecoveryCopy::Kind::NewEntry, RecoveryCopy::Kind::Mask}) {
        if (kindName(kind) == name)
            return kind;
    }
    return std::nullopt;
}

// A name or date line of the notebook's own code page; UTF-8 where it has no byte.
QByteArray encoded(const QString &text, bool utf8)
{
    return utf8 ? text.toUtf8() : CodePage::encode(text).value_or(QByteArray());
}

QString decoded(const QByteArray &bytes, bool utf8)
{
    return utf8 ? QString::fromUtf8(bytes) : CodePage::decode(bytes);
}

} // namespace

QString path(const QString &programFolder, const QString &storeFolder)
{
    return LocalFolder::forStore(programFolder, storeFolder) + kName;
}

// The head line, the encoding, the kind, group, title, line, date line, the
// shown file (device, inode, size, time; "-" for none), the text's length in
// characters, then the text, every line ended by CR LF. The length tells a
// whole file from one cut short by hand.
QByteArray serialize(const RecoveryCopy &copy)
{
    const QString all = copy.group + copy.title + copy.date + copy.text;
    const bool utf8 = CodePage::firstUnencodable(all) >= 0;
    const FileIdentity &f = copy.shown;
    const QByteArray shown =
        f.exists() ? QByteArray::number(f.device) + ' ' + QByteArray::number(f.inode) + ' ' +
                         QByteArray::number(f.size) + ' ' + QByteArray::number(f.modifiedNs)
                   : QByteArray("-");
    QByteArray out = kHead + "\r\n" + (utf8 ? "utf-8" : "windows-1252") + "\r\n" +
                     kindName(copy.kind) + "\r\n" + encoded(copy.group, utf8) + "\r\n" +
                     encoded(copy.title, utf8) + "\r\n" + QByteArray::number(copy.line) + "\r\n" +
                     encoded(copy.date, utf8) + "\r\n" + shown + "\r\n" +
                     QByteArray::number(copy.text.size()) + "\r\n";
    QByteArray text = encoded(copy.text, utf8);
    text.replace('\n', "\r\n");
    return out + text;
}

std::optional<RecoveryCopy> parse(const QByteArray &bytes)
{
    constexpr int kHeadLines = 9;
    QList<QByteArray> head;
    qsizetype at = 0;
    while (head.size() < kHeadLines) {
        const qsizetype end = bytes.indexOf("\r\n", at);
        if (end < 0)
            return std::nullopt;
        head.append(bytes.mid(at, end - at));
        at = end + 2;
    }
    if (head[0] != kHead || (head[1] != "utf-8" && head[1] != "windows-1252"))
        return std::nullopt;
    const bool utf8 = head[1] == "utf-8";
    RecoveryCopy copy;
    const std::optional<RecoveryCopy::Kind> kind = kindOf(head[2]);
    bool lineOk = false, lengthOk = false;
    copy.line = head[5].toInt(&lineOk);
    const qsizetype length = head[8].toLongLong(&lengthOk);
    if (!kind || !lineOk || !lengthOk || copy.line < 0)
        return std::nullopt;
    copy.kind = *kind;
    copy.group = decoded(head[3], utf8);
    copy.title = decoded(head[4], utf8);
    copy.date = decoded(head[6], utf8);
    if (head[7] != "-") {
        const QList<QByteArray> f = head[7].split(' ');
        bool ok[4] = {};
        if (f.size() != 4)
            return std::nullopt;
        copy.shown = FileIdentity{f[0].toULongLong(&ok[0]), f[1].toULongLong(&ok[1]),
                                  f[2].toLongLong(&ok[2]), f[3].toLongLong(&ok[3]), true};
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || copy.shown.size < 0)
            return std::nullopt;
    }
    QByteArray text = bytes.mid(at);
    text.replace("\r\n", "\n");
    copy.text = decoded(text, utf8);
    if (copy.text.size() != length || copy.group.isEmpty())
        return std::nullopt;
    return copy;
}

FileResult write(const QString &programFolder, const QString &storeFolder, const RecoveryCopy &copy)
{
    if (const std::optional<IoError> error = LocalFolder::make(programFolder, storeFolder))
        return FileResult::failed(*error);
    return writeWholeFile(path(programFolder, storeFolder), serialize(copy), programFolder);
}

FileResult remove(const QString &programFolder, const QString &storeFolder)
{
    const QString file = path(programFolder, storeFolder);
    // Only a look first: most edits end before a copy was ever written.
    if (!QFileInfo::exists(file))
        return {};
    const QString folder = LocalFolder::forStore(programFolder, storeFolder);
    const Fd dir(Sys::open(QFile::encodeName(folder).constData(),
                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir)
        return FileResult::failed(IoError::fromErrno(errno, file));
    // Not synced: a removal a power cut undoes gives back a copy that the
    // next start finds stored already, or offers again; no text is lost.
    if (Sys::unlinkat(dir.get(), QFile::encodeName(kName).constData(), 0) != 0 && errno != ENOENT)
        return FileResult::failed(IoError::fromErrno(errno, file));
    return {};
}

} // namespace RecoveryFile
