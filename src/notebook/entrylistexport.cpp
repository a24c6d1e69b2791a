#include "notebook/entrylistexport.h"

namespace {

constexpr qsizetype kExportWidth = 50;

} // namespace

TextLines::Encoded entryListExport(const QStringList &shownLines)
{
    TextLines::Writer out(shownLines.size() * (kExportWidth + 2));
    for (const QString &line : shownLines)
        out.line(QStringView(line).left(kExportWidth));
    return out.finish();
}
