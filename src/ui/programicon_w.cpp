#include "ui/programicon_w.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<int, 6> kSizes = {16, 32, 48, 64, 128, 256};

// The six pictures are read when a size is first drawn, not when the icon is
// made at the start: the window shows before anything asks for most of them.
class ProgramIconEngine : public QIconEngine
{
public:
    ProgramIconEngine() : pixmaps_(std::make_shared<std::array<QPixmap, kSizes.size()>>()) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const size_t i = bestFor(size);
        QPixmap &loaded = (*pixmaps_)[i];
        if (loaded.isNull())
            loaded.load(u":/icons/%1x%1/apps/%2.png"_s.arg(kSizes[i]).arg(kDesktopId));
        QPixmap result = loaded;
        if (result.width() > size.width() || result.height() > size.height())
            result = result.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && mode != QIcon::Active && qobject_cast<QApplication *>(qApp)) {
            QStyleOption option;
            option.palette = QApplication::palette();
            result = QApplication::style()->generatedIconPixmap(mode, result, &option);
        }
        return result;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        const QSize shown = drawn.deviceIndependentSize().toSize();
        painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2,
                                                          (rect.height() - shown.height()) / 2),
                                  shown),
                            drawn);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = kSizes[bestFor(size)];
        return QSize(side, side).boundedTo(size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : kSizes)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return u"plimsa-program-icon"_s; }

private:
    // The smallest picture at least as large as asked for, or the largest.
    static size_t bestFor(const QSize &size)
    {
        const int side = std::max(size.width(), size.height());
        for (size_t i = 0; i < kSizes.size(); ++i) {
            if (kSizes[i] >= side)
                return i;
        }
        return kSizes.size() - 1;
    }

    // Shared by the copies Qt makes of the icon, so each picture is read once.
    std::shared_ptr<std::array<QPixmap, kSizes.size()>> pixmaps_;
};

} // namespace

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}
