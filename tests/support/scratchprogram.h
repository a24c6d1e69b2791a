#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

// A fresh program folder for one test: a copy of the shipped data/ folder
// (PLIMSA_DATA) in a temporary folder, with helpers to change and read back its
// files. Text goes in and out as the program stores it: Windows-1252, CR LF.
class ScratchProgram
{
public:
    ScratchProgram();

    bool isValid() const { return valid_; }
    // The program folder, ending in "/".
    QString folder() const;
    QString path(const QString &relative) const;

    QByteArray read(const QString &relative) const;
    // The lines of a text file, without their line ends.
    QStringList readLines(const QString &relative) const;
    void writeLines(const QString &relative, const QStringList &lines);
    void remove(const QString &relative);

    // pref.dat line `line` (1-based) becomes `value`.
    void setPref(int line, const QString &value);
    // idx.dat of the preset store: the header, then `lines` as they stand
    // (group names, "\"-prefixed titles). Creates the group folders.
    void writeIndex(const QStringList &lines);
    // Language.dat with `language1` as the block of language 1 (151 lines, the
    // rest free); a shorter list leaves the remaining words empty.
    void writeLanguage(const QStringList &language1);

    // Every file below the folder with its bytes, to show that nothing changed.
    QMap<QString, QByteArray> snapshot() const;

private:
    QTemporaryDir dir_;
    bool valid_ = false;
};
