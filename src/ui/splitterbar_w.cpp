#include "ui/splitterbar_w.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Read as a separator that has a place, as a screen reader expects of a
// splitter; setting the place moves the bar there as a drag would.
class AccessibleSplitterBar : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleSplitterBar(SplitterBar *bar)
        : QAccessibleWidget(bar, QAccessible::Separator)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return bar()->place(); }
    void setCurrentValue(const QVariant &value) override
    {
        Q_EMIT bar()->dragged(value.toInt() - bar()->place());
    }
    QVariant maximumValue() const override
    {
        const QWidget *parent = bar()->parentWidget();
        return bar()->moves() == Qt::Vertical ? parent->height() : parent->width();
    }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    SplitterBar *bar() const { return static_cast<SplitterBar *>(widget()); }
};

QAccessibleInterface *splitterBarInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("SplitterBar") && object->isWidgetType())
        return new AccessibleSplitterBar(static_cast<SplitterBar *>(object));
    return nullptr;
}

} // namespace

SplitterBar::SplitterBar(Qt::Orientation moves, QWidget *parent) : QWidget(parent), moves_(moves)
{
    static const bool installed = [] {
        QAccessible::installFactory(splitterBarInterface);
        return true;
    }();
    (void)installed;
    setCursor(moves == Qt::Vertical ? Qt::SplitVCursor : Qt::SplitHCursor);
    // Tab reaches it; a click to drag it leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

int SplitterBar::place() const
{
    return moves_ == Qt::Vertical ? y() : x();
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    Q_EMIT dragged(moves_ == Qt::Vertical ? at.y() : at.x());
}

void SplitterBar::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int back = moves_ == Qt::Vertical ? Qt::Key_Up : Qt::Key_Left;
    const int on = moves_ == Qt::Vertical ? Qt::Key_Down : Qt::Key_Right;
    if (plain && (event->key() == back || event->key() == on)) {
        Q_EMIT stepped(event->key() == on ? 1 : -1);
        return;
    }
    QWidget::keyPressEvent(event);
}

void SplitterBar::paintEvent(QPaintEvent *)
{
    // Only a bar with the keyboard's focus shows; otherwise the gap between
    // the columns is the splitter, as it always was.
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Highlight));
}

void SplitterBar::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    QAccessibleValueChangeEvent changed(this, place());
    QAccessible::updateAccessibility(&changed);
}
