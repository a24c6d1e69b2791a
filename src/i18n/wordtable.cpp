#include "i18n/wordtable.h"

#include "store/codepage.h"
#include "store/safewrite.h"
#include "store/textlines.h"

using namespace Qt::StringLiterals;

namespace {

// The built-in English texts. Double blanks, inner quotation marks and the
// empty words belong to them.
const QString kEnglish[WordTable::kWords] = {
    u"English"_s,                                                                       // 0
    u"&File"_s,                                                                         // 1
    u"&Lock Edit Permission"_s,                                                         // 2
    u"&Hide in Systray"_s,                                                              // 3
    u"&Exit"_s,                                                                         // 4
    u"&Group"_s,                                                                        // 5
    u"&New"_s,                                                                          // 6
    u"&Delete"_s,                                                                       // 7
    u"&Rename"_s,                                                                       // 8
    u"&Entry"_s,                                                                        // 9
    u"&Change Group"_s,                                                                 // 10
    u"&Insert"_s,                                                                       // 11
    u"(&Space)"_s,                                                                      // 12
    u"Individual - Char-&Line"_s,                                                       // 13
    u"Individual - Single &Text"_s,                                                     // 14
    u"&Editor (Print)"_s,                                                               // 15
    u"&Sort Entry List"_s,                                                              // 16
    u"One Place &Up      [SH] + [CRSR-up]"_s,                                           // 17
    u"One Place Do&wn  [SH] + [CRSR-down]"_s,                                           // 18
    u"&Options"_s,                                                                      // 19
    u"&Global Settings (&& set language)"_s,                                            // 20
    u"&Start Settings"_s,                                                               // 21
    u"Sort &Mode Z --> A"_s,                                                            // 22
    u"Save &Win-Pos., Win-Dim. && Frames"_s,                                            // 23
    u"Edit &Language"_s,                                                                // 24
    u"&Info"_s,                                                                         // 25
    u"&About..."_s,                                                                     // 26
    u"Maximize / Normal"_s,                                                             // 27
    u"Minimize"_s,                                                                      // 28
    u"&Sort"_s,                                                                         // 29
    u"&Hide"_s,                                                                         // 30
    u"&OK"_s,                                                                           // 31
    u"&Cancel"_s,                                                                       // 32
    u"&Lock"_s,                                                                         // 33
    u" Sort Entry-list - be careful because no undo function available! "_s,            // 34
    u" Selected List-entry one place up [SH] + [CRSR-up] (also by drag & drop)"_s,      // 35
    u" Selected List-entry one place down [SH] + [CRSR-down] (try also drag & drop)"_s, // 36
    u" New Entry [Inst] "_s,                                                            // 37
    u" Move selected Entry into Trash [Del] "_s,                                        // 38
    u" Hide Plimsa in Systray - douple-click Icon in Systray to wake up again "_s,      // 39
    u" Lock Edit Permission "_s,                                                        // 40
    u"Select a Group"_s,                                                                // 41
    u"Enter new Language or choose one"_s,                                              // 42
    u"Use on own risk"_s,                                                               // 43
    u"Show update information from www"_s,                                              // 44
    u"Back"_s,                                                                          // 45
    u" Click here to send an email to the author ! "_s,                                 // 46
    u" Click here to visit the website of the author ! "_s,                             // 47
    u" Click here to close the info requester ! "_s,                                    // 48
    u" Click here to download the latest version of Plimsa ! "_s,                       // 49
    u" Click here to show update information in your browser! "_s,                      // 50
    u"Entry Title"_s,                                                                   // 51
    u"Name of New Group"_s,                                                             // 52
    u"Change Group Name"_s,                                                             // 53
    u"Change Entry Title"_s,                                                            // 54
    u"Insert Individual"_s,                                                             // 55
    u"Manual available in folder :"_s,                                                  // 56
    u"Font Name (list- && textf.)"_s,                                                   // 57
    u"Font Size"_s,                                                                     // 58
    u"Font Bold"_s,                                                                     // 59
    u"Clear &Trash"_s,                                                                  // 60
    u"Language"_s,                                                                      // 61
    u"Group list white finish"_s,                                                       // 62
    u"&Yes"_s,                                                                          // 63
    u"&No"_s,                                                                           // 64
    u"Hide \u00FF-Groups (manual)"_s,                                                   // 65
    u"Window State"_s,                                                                  // 66
    u"Start Group"_s,                                                                   // 67
    u"On"_s,                                                                            // 68
    u"Normal"_s,                                                                        // 69
    u"Minimized"_s,                                                                     // 70
    u"Maximized"_s,                                                                     // 71
    u"Hidden in Systray"_s,                                                             // 72
    u"Plimsa will automaticly restarted!"_s,                                            // 73
    u"After restart you must click on Plimsa\u00B4s button!"_s,                         // 74
    u"Message"_s,                                                                       // 75
    u"Win position, win dimension and frames saved"_s,                                  // 76
    u"Possible only if \u00FF-groups not hidden!"_s,                                    // 77
    u"Edit Permission locked!"_s,                                                       // 78
    u"Caution!"_s,                                                                      // 79
    u"Entry &Text"_s,                                                                   // 80
    u"Delete Group"_s,                                                                  // 81
    u"Changes available after restart!"_s,                                              // 82
    u"Edit only! Change Language in \"Settings\""_s,                                    // 83
    u"View &Mask"_s,                                                                    // 84
    u"Text Edit Mode..."_s,                                                             // 85
    u"Mask Edit Mode..."_s,                                                             // 86
    u"(Check also drag && drop)"_s,                                                     // 87
    u"&Trash [Del]"_s,                                                                  // 88
    u"&New   [Inst]"_s,                                                                 // 89
    u"&Rename [F12]"_s,                                                                 // 90
    u"&Trash"_s,                                                                        // 91
    u"An error has happend - procedure canceled!"_s,                                    // 92
    u"An error has happend - trying to continue..."_s,                                  // 93
    u"Se&arch"_s,                                                                       // 94
    u"&Start"_s,                                                                        // 95
    u"&Continue"_s,                                                                     // 96
    u"Clos&e"_s,                                                                        // 97
    u"Search including Entry Titles"_s,                                                 // 98
    u"Search including Entry Text"_s,                                                   // 99
    u"Search including Trash"_s,                                                        // 100
    u"Search including \u00FF-Groups"_s,                                                // 101
    u"Fix Entry (search in this text)"_s,                                               // 102
    u"Case sensitive"_s,                                                                // 103
    u"Please enter search string"_s,                                                    // 104
    u"Searching..."_s,                                                                  // 105
    u"Seach string not found"_s,                                                        // 106
    u"Match in Entry-Title"_s,                                                          // 107
    u"Match in Entry-Text"_s,                                                           // 108
    u"&Save"_s,                                                                         // 109
    u" Save Entry text without leaving Edit-Text-Mode [F3]"_s,                          // 110
    u"Store index seems to be in use!"_s,                                               // 111
    u"Starting without edit permission!"_s,                                             // 112
    u"Path to \"FileStore\""_s,                                                         // 113
    u" Enter \"preset\" if in program folder "_s,                                       // 114
    u"Can not find \"idx.dat\"! - Try it again with preset."_s,                         // 115
    u"FileStore path not valid!"_s,                                                     // 116
    u"Go/&Move"_s,                                                                      // 117
    u"&Go To..."_s,                                                                     // 118
    u"&Move To..."_s,                                                                   // 119
    u"&Save To..."_s,                                                                   // 120
    u"&Clear all Memories"_s,                                                           // 121
    u"&Phrases"_s,                                                                      // 122
    u"&Insert from..."_s,                                                               // 123
    u"&Clear all Phrases"_s,                                                            // 124
    u"Insert &Date  [F11]"_s,                                                           // 125
    u"Insert &Time  [F12]"_s,                                                           // 126
    u"Before saving a phrase onto a phrase-memory (1-4) you have to mark some words"_s, // 127
    u"or letters in the text area with pressed left mouse button !"_s,                  // 128
    u"&How to save a phrase?"_s,                                                        // 129
    u"Memory"_s,                                                                        // 130
    u"CTRL"_s,                                                                          // 131
    u"Phrase"_s,                                                                        // 132
    u"Entry &List"_s,                                                                   // 133
    u"&Last Position before moving Entry  [F9]"_s,                                      // 134
    u""_s,                                                                              // 135
    u""_s,                                                                              // 136
    u""_s,                                                                              // 137
    u""_s,                                                                              // 138
    u"Memory place is free !  Before using click on \"Go/Move / Save to... / Memory"_s, // 139
    u""_s,                                                                              // 140
    u"Only real files can be moved !"_s,                                                // 141
    u"Indent Ri&ght         [SH] + [CRSR-right]"_s,                                     // 142
    u"Indent &Left           [SH] + [CRSR-left]"_s,                                     // 143
    u"Insert \u20AC"_s,                                                                 // 144
    u"&Individual Buttons"_s,                                                           // 145
    u"Individual Button"_s,                                                             // 146
    u"Button"_s,                                                                        // 147
    u"Te&xt Opt."_s,                                                                    // 148
    u"&Wordwrap"_s,                                                                     // 149
    u""_s,                                                                              // 150
};

} // namespace

WordTable::WordTable()
{
    for (int k = 0; k < kWords; ++k)
        words_[0][k] = kEnglish[k];
}

QString WordTable::english(int k)
{
    return kEnglish[k];
}

std::optional<IoError> WordTable::loadLanguageFile(const QString &path)
{
    const ReadResult read = readWholeFile(path);
    if (!read.ok)
        return read.error;
    QByteArray bytes = read.bytes;
    // Read as they stand, they would put an empty line after every word and
    // shift the words after it.
    if (bytes.contains("\r\r\n"))
        bytes.replace("\r\r\n", "\r\n");
    TextLines::Reader reader(bytes);
    QByteArrayView text;
    int line = 0;
    for (; line < kFileLines && reader.next(text); ++line)
        words_[1 + line / kWords][line % kWords] =
            CodePage::decode(QByteArray::fromRawData(text.data(), text.size()));
    file_ = path;
    linesRead_ = line;
    return std::nullopt;
}

std::optional<IoError> WordTable::cutShort(int language) const
{
    if (language < 1 || language * kWords <= linesRead_)
        return std::nullopt;
    return IoError::custom(u"Damaged translations, line %1: missing"_s.arg(linesRead_ + 1))
        .at(file_);
}

TextLines::Encoded WordTable::languageFileContent() const
{
    TextLines::Writer out(kFileLines * 24);
    for (int language = 1; language < kLanguages; ++language) {
        const bool inUse = !isFreeSlot(language);
        for (int k = 0; k < kWords; ++k) {
            const QString &text = word(language, k);
            out.line(inUse && text.isEmpty() ? english(k) : text);
        }
    }
    return out.finish();
}

FileResult WordTable::saveLanguageFile(const QString &path, const QString &programFolder) const
{
    const TextLines::Encoded content = languageFileContent();
    if (!content)
        return FileResult::failed(content.error->at(path));
    return writeWholeFile(path, content.bytes, programFolder);
}

QString WordTable::freeSlotName()
{
    return u"(free)"_s;
}

QString StripAmp(const QString &caption)
{
    QString out = caption;
    const qsizetype amp = out.indexOf(u'&');
    if (amp >= 0)
        out.remove(amp, 1);
    return out;
}
