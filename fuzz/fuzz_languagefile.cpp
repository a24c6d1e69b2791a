// Language.dat: the reader takes any file, fills at most the 1359 words of
// languages 1..9 with whole lines and never touches English; the words it
// read, written back one a line, read back the same.

#include "fuzzcheck.h"

#include "i18n/wordtable.h"
#include "store/textlines.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace {

// In memory where the system has it: a write and a read per input on a disk
// would take most of the time.
const QString &scratchFile()
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isDir()
                                 ? QStringLiteral("/dev/shm/plimsa-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/plimsa-fuzz-XXXXXX"));
    static const QString path = dir.path() + QStringLiteral("/Language.dat");
    return path;
}

void writeFile(const QByteArray &bytes)
{
    const QByteArray path = scratchFile().toLocal8Bit();
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0, "cannot write the scratch file");
    FUZZ_CHECK(::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size(),
               "cannot write the scratch file");
    ::close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeFile(fuzzBytes(data, size));
    WordTable table;
    FUZZ_CHECK(!table.loadLanguageFile(scratchFile()), "a readable file was refused");
    TextLines::Writer out;
    for (int language = 0; language < WordTable::kLanguages; ++language) {
        for (int k = 0; k < WordTable::kWords; ++k) {
            const QString &word = table.word(language, k);
            if (language == 0) {
                FUZZ_CHECK(word == WordTable::english(k), "an English word was changed");
                continue;
            }
            FUZZ_CHECK(!word.contains(QLatin1Char('\r')) && !word.contains(QLatin1Char('\n')),
                       "a word holds a line break");
            FUZZ_CHECK(out.line(word), "a word as read cannot be written");
        }
    }
    const TextLines::Encoded written = out.finish();
    FUZZ_CHECK(written, "the words cannot be written");
    writeFile(written.bytes);
    WordTable again;
    FUZZ_CHECK(!again.loadLanguageFile(scratchFile()), "Language.dat as written was refused");
    for (int language = 1; language < WordTable::kLanguages; ++language) {
        for (int k = 0; k < WordTable::kWords; ++k)
            FUZZ_CHECK(again.word(language, k) == table.word(language, k),
                       "a word read back differs");
    }
    return 0;
}
