#include "transfer/notebookimport.h"

#include "store/safewrite.h"
#include "transfer/folderlisting.h"
#include "transfer/transferrules.h"

#include "platform/fd.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace NotebookImport {

const QString kTitlesFile = u"_titles.lst"_s;
const QString kMaskFile = u"_mask.dat"_s;
const QString kTitlesHeader = u"Plimsa titles 1"_s;

namespace {

// The kinds of file an import reads as notes: those named as text, and those
// without an extension (README, TODO, LICENSE), which are read when what they
// hold is text.
bool isTextFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return true;
    const QStringView suffix = QStringView(name).sliced(dot + 1);
    return suffix.compare(u"txt", Qt::CaseInsensitive) == 0 ||
           suffix.compare(u"md", Qt::CaseInsensitive) == 0 ||
           suffix.compare(u"text", Qt::CaseInsensitive) == 0;
}

QString joined(const QString &rel, const QString &name)
{
    return rel.isEmpty() ? name : rel + u'/' + name;
}

bool isWithin(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

// A name as the system holds it, readable: what is valid UTF-8 as it is,
// every other byte as \xHH.
QString escapedName(QByteArrayView name)
{
    QString out;
    for (qsizetype i = 0; i < name.size();) {
        const uchar lead = uchar(name[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const QByteArrayView part = name.sliced(i, std::min<qsizetype>(length, name.size() - i));
        const QString decoded = QString::fromUtf8(part);
        if (lead >= 0xC2 && lead <= 0xF4 && part.size() == length && decoded.toUtf8() == part) {
            out += decoded;
            i += length;
        } else if (lead < 0x80) {
            out += QLatin1Char(char(lead));
            ++i;
        } else {
            out += u"\\x"_s + QString::number(lead, 16).toUpper();
            ++i;
        }
    }
    return out;
}

} // namespace

std::optional<Listing> readListing(QByteArrayView bytes)
{
    // Line by line in the bytes: a listing has a line per title.
    QList<QByteArrayView> lines;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(at, end - at);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        at = end + 1;
    }
    if (lines.size() < 2 || QString::fromUtf8(lines.at(0)) != kTitlesHeader)
        return std::nullopt;
    Listing listing;
    listing.group = QString::fromUtf8(lines.at(1));
    listing.lines.reserve(lines.size() - 2);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QByteArrayView line = lines.at(i);
        const qsizetype a = line.indexOf('\t');
        const qsizetype b = a < 0 ? -1 : line.indexOf('\t', a + 1);
        if (b < 0)
            continue;
        listing.lines.append({QString::fromUtf8(line.first(a)),
                              QString::fromUtf8(line.sliced(a + 1, b - a - 1)),
                              QString::fromUtf8(line.sliced(b + 1))});
    }
    return listing;
}

namespace {

class Scanner
{
public:
    Scanner(const QString &root, const QString &storeFolder, const Progress &progress)
        : progress_(progress)
    {
        root_ = QFileInfo(root).canonicalFilePath();
        rootName_ = QFileInfo(root_).fileName();
        store_ = storeFolder.isEmpty() ? QString() : QFileInfo(storeFolder).canonicalFilePath();
    }

    Scan scan()
    {
        if (root_.isEmpty() || !QFileInfo(root_).isDir()) {
            result_.failure = u"not a folder that can be read"_s;
            return std::move(result_);
        }
        // Its entries would come in a second time, each with its date line
        // as the first line of its text.
        if (!store_.isEmpty() && isWithin(root_, store_)) {
            result_.failure = u"lies within the notebook's store %1; import from a folder "
                              "outside it"_s.arg(store_);
            return std::move(result_);
        }
        walk(root_, QString(), {root_});
        return std::move(result_);
    }

private:
    void skip(const QString &path, const QString &why) { result_.skipped.append({path, why}); }

    bool tick()
    {
        if (progress_ && !progress_(++read_, 0))
            result_.cancelled = true;
        return !result_.cancelled;
    }

    // The file `name` of the open folder `dir`; `rel` names it in the report.
    std::optional<SourceItem> readFile(int dir, const QByteArray &name, const QString &rel)
    {
        const ReadResult read = readWholeFileAt(dir, name, rel, kMaxFileBytes);
        if (!read.ok) {
            if (read.error.number == EFBIG)
                skip(rel, u"larger than 1 MiB, so not taken for a note"_s);
            else if (read.error.number == EINVAL || read.error.number == EISDIR)
                skip(rel, u"not a regular file"_s);
            else
                skip(rel, u"cannot be read: "_s + read.error.description);
            return std::nullopt;
        }
        SourceItem item;
        item.stored = TransferRules::storedFromUtf8(read.bytes);
        if (!item.stored) {
            TransferRules::Decoded decoded = TransferRules::decodeText(read.bytes);
            if (decoded.text.contains(QChar(u'\0'))) {
                skip(rel, u"not a text file (it holds a NUL byte)"_s);
                return std::nullopt;
            }
            item.text = TransferRules::toStoredText(decoded.text);
        }
        item.path = rel;
        // The name without its extension; a name without one is the title whole.
        const QStringView fileName = QStringView(rel).sliced(rel.lastIndexOf(u'/') + 1);
        const qsizetype dot = fileName.lastIndexOf(u'.');
        item.title = (dot > 0 ? fileName.first(dot) : fileName).toString();
        // In UTC from the read's own stat: a local time costs a look at the
        // time zone per file, and only a file without a listed date needs one.
        item.modified =
            QDateTime::fromMSecsSinceEpoch(read.identity.modifiedNs / 1'000'000, Qt::UTC);
        return item;
    }

    // Where a link in the folder leads, when it may be followed: a file
    // within the imported folder. Otherwise it is named with why.
    std::optional<QString> linkTarget(const QString &linkPath, const QString &path,
                                      const QStringList &ancestors)
    {
        const QFileInfo entry(linkPath);
        const QString target = entry.canonicalFilePath();
        if (target.isEmpty()) {
            skip(path, u"a link that leads nowhere"_s);
        } else if (!isWithin(target, root_)) {
            skip(path, u"a link that leads out of the imported folder"_s);
        } else if (entry.isDir()) {
            // Every folder inside is reached by its own path anyway.
            skip(path, ancestors.contains(target)
                           ? u"a link that leads in a circle"_s
                           : u"a link to a folder that is imported under its own path"_s);
        } else if (!isTextFileName(entry.fileName())) {
            skip(path, u"not a text file by its name (only .txt, .md, .text and names "
                       "without an extension are imported)"_s);
        } else {
            return target;
        }
        return std::nullopt;
    }

    void walk(const QString &folder, const QString &rel, QStringList ancestors)
    {
        const QString shownRel = rel.isEmpty() ? u"."_s : rel;
        const Fd dir(
            ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const auto entries = dir ? listFolder(dir.get()) : std::nullopt;
        if (!entries) {
            skip(shownRel, u"the folder cannot be read"_s);
            return;
        }
        QHash<QString, SourceItem> files; // by file name
        files.reserve(qsizetype(entries->size()));
        QStringList fileOrder;
        fileOrder.reserve(qsizetype(entries->size()));
        QList<std::pair<QString, QString>> subfolders; // real path, relative path
        bool hasListing = false, hasMask = false;
        for (const FolderEntry &entry : *entries) {
            const QString &name = entry.name;
            const QString path = joined(rel, name);
            unsigned char type = entry.type;
            struct stat st;
            if (type == DT_UNKNOWN) {
                type = ::fstatat(dir.get(), entry.bytes.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0
                           ? DT_UNKNOWN
                       : S_ISDIR(st.st_mode) ? DT_DIR
                       : S_ISLNK(st.st_mode) ? DT_LNK
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : DT_UNKNOWN;
            }
            const bool isFolder = type == DT_DIR;
            if (!entry.validName) {
                skip(joined(rel, escapedName(entry.bytes)),
                     isFolder ? u"a folder whose name is not valid UTF-8, left out with "
                                "everything in it"_s
                              : u"its name is not valid UTF-8"_s);
                continue;
            }
            // Hidden files and folders belong to other programs (.git, editor backups).
            if (name.startsWith(u'.')) {
                skip(path, isFolder ? u"a hidden folder, left out with everything in it"_s
                                    : u"a hidden file"_s);
                continue;
            }
            if (isFolder) {
                const QString real = folder + u'/' + name;
                if (real == store_)
                    skip(path, u"the notebook's own store"_s);
                else
                    subfolders.append({real, path});
                continue;
            }
            if (type == DT_REG && name == kTitlesFile) {
                hasListing = true;
                continue;
            }
            if (type == DT_REG && name == kMaskFile) {
                hasMask = true;
                continue;
            }
            std::optional<SourceItem> item;
            if (type == DT_LNK) {
                const auto target = linkTarget(folder + u'/' + name, path, ancestors);
                if (!target)
                    continue;
                if (!tick())
                    return;
                item = readFile(AT_FDCWD, QFile::encodeName(*target), path);
            } else if (type != DT_REG) {
                skip(path, u"not a regular file"_s);
                continue;
            } else if (!isTextFileName(name)) {
                skip(path, u"not a text file by its name (only .txt, .md, .text and names "
                           "without an extension are imported)"_s);
                continue;
            } else {
                if (!tick())
                    return;
                item = readFile(dir.get(), entry.bytes, path);
            }
            if (item) {
                files.emplace(name, std::move(*item));
                fileOrder.append(name);
            }
        }

        SourceGroup group;
        group.path = rel;
        group.name = rel.isEmpty() ? rootName_ : rel;
        std::optional<Listing> listing;
        if (hasListing) {
            const ReadResult read = readWholeFileAt(dir.get(), QFile::encodeName(kTitlesFile),
                                                    joined(rel, kTitlesFile), kMaxFileBytes);
            if (read.ok)
                listing = readListing(read.bytes);
            if (!listing)
                skip(joined(rel, kTitlesFile), u"not a list of titles as an export writes it"_s);
        }
        if (listing) {
            group.listed = true;
            if (!listing->group.trimmed().isEmpty())
                group.name = listing->group;
            for (const Listing::Line &line : listing->lines) {
                if (line.file.isEmpty()) {
                    SourceItem item;
                    item.hasFile = false;
                    item.title = line.title;
                    group.items.append(item);
                    continue;
                }
                const auto it = files.find(line.file);
                if (it == files.end())
                    continue;
                SourceItem item = std::move(*it);
                files.erase(it);
                item.title = line.title;
                item.date = line.date;
                group.items.append(std::move(item));
            }
        }
        for (const QString &name : fileOrder) {
            if (const auto it = files.find(name); it != files.end())
                group.items.append(std::move(*it));
        }
        // Once the titles are final; the plan lists these and acts on them.
        for (SourceItem &item : group.items) {
            if (!item.hasFile)
                continue;
            if (!item.stored)
                item.unencodable = TransferRules::unencodableCharacters(item.text);
            for (const QString &c : TransferRules::unencodableCharacters(item.title)) {
                if (!item.unencodable.contains(c))
                    item.unencodable.append(c);
            }
        }
        if (hasMask) {
            const ReadResult read = readWholeFileAt(dir.get(), QFile::encodeName(kMaskFile),
                                                    joined(rel, kMaskFile), kMaxFileBytes);
            if (read.ok)
                group.mask = TransferRules::toStoredText(
                    TransferRules::closeEquivalent(TransferRules::decodeText(read.bytes).text));
        }
        // An export's listing brings its group along even when it is empty.
        if (!group.items.isEmpty() || listing)
            result_.groups.append(std::move(group));

        for (const auto &[real, path] : subfolders) {
            if (result_.cancelled)
                return;
            QStringList inner = ancestors;
            inner.append(real);
            walk(real, path, inner);
        }
    }

    QString root_;
    QString rootName_;
    QString store_;
    const Progress &progress_;
    Scan result_;
    qint64 read_ = 0;
};

} // namespace

Scan scanFolder(const QString &folder, const QString &storeFolder, const Progress &progress)
{
    return Scanner(folder, storeFolder, progress).scan();
}

} // namespace NotebookImport
