#include "support/scratchprogram.h"

#include "store/codepage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + source.relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(file, target))
            return false;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
    }
    return true;
}

} // namespace

ScratchProgram::ScratchProgram()
{
    const QString data = qEnvironmentVariable("PLIMSA_DATA");
    valid_ = dir_.isValid() && !data.isEmpty() && copyTree(data, dir_.path());
}

QString ScratchProgram::folder() const
{
    return dir_.path() + u'/';
}

QString ScratchProgram::path(const QString &relative) const
{
    return folder() + relative;
}

QByteArray ScratchProgram::read(const QString &relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList ScratchProgram::readLines(const QString &relative) const
{
    QString text = CodePage::decode(read(relative));
    text.replace(u"\r\n"_s, u"\n"_s);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void ScratchProgram::writeLines(const QString &relative, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += CodePage::encode(line).value_or(QByteArray()) + "\r\n";
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile file(path(relative));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void ScratchProgram::remove(const QString &relative)
{
    const QFileInfo info(path(relative));
    if (info.isDir())
        QDir(info.filePath()).removeRecursively();
    else
        QFile::remove(info.filePath());
}

void ScratchProgram::setPref(int line, const QString &value)
{
    QStringList lines = readLines(u"pref.dat"_s);
    while (lines.size() < line)
        lines.append(QString());
    lines[line - 1] = value;
    writeLines(u"pref.dat"_s, lines);
}

void ScratchProgram::writeIndex(const QStringList &lines)
{
    remove(u"FileStore"_s);
    writeLines(u"FileStore/idx.dat"_s, QStringList{u"idx Plimsa 1.3.02"_s} + lines);
    for (const QString &line : lines) {
        if (!line.startsWith(u'\\'))
            QDir().mkpath(path(u"FileStore/"_s + line));
    }
}

void ScratchProgram::writeLanguage(const QStringList &language1)
{
    QStringList lines = language1;
    while (lines.size() < 151)
        lines.append(QString());
    for (int language = 2; language <= 9; ++language) {
        lines.append(u"(free)"_s);
        for (int k = 1; k <= 150; ++k)
            lines.append(QString());
    }
    writeLines(u"Language.dat"_s, lines);
}

QMap<QString, QByteArray> ScratchProgram::snapshot() const
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(QDir(dir_.path()).relativeFilePath(file),
                     read(QDir(dir_.path()).relativeFilePath(file)));
    }
    return files;
}
