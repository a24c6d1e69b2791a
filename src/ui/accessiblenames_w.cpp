#include "ui/accessiblenames_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Controls are found by their object names, so this file needs nothing of
// the window's construction but the names.
template <typename T = QWidget> T *control(const QWidget &window, const QString &name)
{
    return window.findChild<T *>(name);
}

void name(const QWidget &window, const QString &objectName, const QString &text)
{
    if (QWidget *widget = control(window, objectName))
        widget->setAccessibleName(text);
}

// A menu caption as a command's name: no access-key mark, no key hint.
QString commandName(const QString &caption)
{
    const QString stripped = StripAmp(caption);
    return stripped.left(stripped.indexOf(u'[')).simplified();
}

// On this platform Qt reads a combo box by its current item and passes over
// the name it was given, so a screen reader would hear "English" where the
// user asks what the list is for. Read here by its name, or else by its
// label, with the item as its value; its list and edit line as Qt has them.
class NamedComboBox : public QAccessibleWidget
{
public:
    explicit NamedComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        const QString value =
            box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        if (t == QAccessible::Value)
            return value;
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? value : own;
    }

    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == box()->view())
            return 0;
        return box()->isEditable() && child->object() == box()->lineEdit() ? 1 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (box()->isEditable() && box()->lineEdit()->rect().contains(x, y))
            return child(1);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return box()->isEditable() ? child(1) : nullptr;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(object()); }
};

QAccessibleInterface *namedComboBox(const QString &className, QObject *object)
{
    if (className == QLatin1String("QComboBox") && object->isWidgetType())
        return new NamedComboBox(static_cast<QComboBox *>(object));
    return nullptr;
}

class AccessibleStates : public QObject
{
public:
    AccessibleStates(QWidget &window, const Words &words)
        : QObject(&window), window_(window), words_(words)
    {
        pending_.setSingleShot(true);
        pending_.setInterval(0);
        connect(&pending_, &QTimer::timeout, this, &AccessibleStates::update);
        for (const QString &box : {u"txtText"_s, u"txtMask"_s}) {
            if (auto *text = control<QPlainTextEdit>(window, box)) {
                connect(text, &QPlainTextEdit::textChanged, &pending_, qOverload<>(&QTimer::start));
                text->installEventFilter(this);
            }
        }
        for (const QString &list : {u"lstGroup"_s, u"lstEntry"_s}) {
            if (auto *view = control<QListView>(window, list)) {
                view->installEventFilter(this);
                showFocus(view, false);
                connect(view->selectionModel(), &QItemSelectionModel::currentChanged, &pending_,
                        qOverload<>(&QTimer::start));
            }
        }
        if (QWidget *frame = control(window, u"fraEdit"_s))
            frame->installEventFilter(this);
        if (auto *lock = control<QCheckBox>(window, u"chckEdit"_s))
            connect(lock, &QCheckBox::toggled, &pending_, qOverload<>(&QTimer::start));
        pending_.start();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (auto *view = qobject_cast<QListView *>(watched))
                showFocus(view, event->type() == QEvent::FocusIn);
            pending_.start();
            break;
        case QEvent::Show:
        case QEvent::Hide:
            pending_.start();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Both lists always show their selected line; the one with the focus
    // shows it in the highlight colour, the other in grey, so a keyboard user
    // sees which list the keys go to.
    static void showFocus(QListView *view, bool focused)
    {
        const QPalette standard = QApplication::palette(view);
        QPalette palette = view->palette();
        palette.setColor(QPalette::Highlight,
                         standard.color(focused ? QPalette::Highlight : QPalette::Mid));
        palette.setColor(QPalette::HighlightedText,
                         standard.color(focused ? QPalette::HighlightedText : QPalette::Text));
        view->setPalette(palette);
    }

    void update()
    {
        auto *date = control<QLabel>(window_, u"lblDate"_s);
        const auto *frame = control(window_, u"fraEdit"_s);
        const auto *mode = control<QLabel>(window_, u"lblMode"_s);
        const auto *lock = control<QCheckBox>(window_, u"chckEdit"_s);
        const QString editing =
            frame && mode && frame->isVisibleTo(&window_) ? mode->text() : QString();
        const QString locked =
            lock && lock->isChecked() ? words_(Word::EditPermissionLocked) : QString();
        const auto joined = [](QStringList parts) {
            parts.removeAll(QString());
            return parts.join(u", "_s);
        };
        QWidget *text = control(window_, u"txtText"_s);
        describe(text, joined({date ? date->text() : QString(), editing, locked}));
        // The date line is the label of the text box.
        if (date && text)
            date->setBuddy(text);
        describe(control(window_, u"txtMask"_s), joined({editing, locked}));
        describe(control(window_, u"lstGroup"_s), locked);
        describe(control(window_, u"lstEntry"_s), locked);
        describe(&window_, joined({editing, locked}));
    }

    // Only a change is told: the same description again would be read again.
    // A hidden box is described when it shows.
    void describe(QWidget *widget, const QString &text) const
    {
        if (widget && widget->isVisibleTo(&window_) && widget->accessibleDescription() != text)
            widget->setAccessibleDescription(text);
    }

    QWidget &window_;
    const Words &words_;
    QTimer pending_;
};

} // namespace

void SetAccessibleNames(QWidget &window, const Words &words)
{
    name(window, u"lstGroup"_s, StripAmp(words(Word::MenuGroup)));
    name(window, u"lstEntry"_s, StripAmp(words(Word::MenuEntryList)));
    name(window, u"txtText"_s, StripAmp(words(Word::MenuEntryText)));
    name(window, u"txtMask"_s, u"Group Mask"_s);
    // The buttons beside the lists: the commands of the menu items they share.
    name(window, u"cmdH0"_s, commandName(words(Word::MenuIndentLeft)));
    name(window, u"cmdH1"_s, commandName(words(Word::MenuIndentRight)));
    name(window, u"cmdH2"_s, commandName(words(Word::MenuOnePlaceUp)));
    name(window, u"cmdH3"_s, commandName(words(Word::MenuOnePlaceDown)));
    // The cursor pad has no words of its own.
    name(window, u"cmdCRSR0"_s, u"Previous Group"_s);
    name(window, u"cmdCRSR1"_s, u"Next Group"_s);
    name(window, u"cmdCRSR2"_s, u"Previous Entry"_s);
    name(window, u"cmdCRSR3"_s, u"Next Entry"_s);
    name(window, u"cmdCRSR4"_s, u"First or Last Entry"_s);
    // The splitters, by the columns and rows they divide; the arrow keys move them.
    name(window, u"lblSizeH"_s, u"Splitter below the Group List"_s);
    name(window, u"lblSizeV0"_s, u"Splitter right of the Lists"_s);
    name(window, u"lblSizeV1"_s, u"Splitter right of the Group Mask"_s);
    for (int b = 0; b < 4; ++b)
        name(window, u"cmdIndiv"_s + QString::number(b),
             words(Word::IndividualButton) + u' ' + QString::number(b + 1));
}

void InstallAccessibility(QWidget &window, const Words &words)
{
    static const bool comboBoxesNamed = [] {
        QAccessible::installFactory(namedComboBox);
        return true;
    }();
    (void)comboBoxesNamed;
    // A text box that took Tab as a character would hold a keyboard user in
    // it; as in the program's first home, Tab goes on to the next control.
    for (const QString &box : {u"txtText"_s, u"txtMask"_s}) {
        if (auto *text = control<QPlainTextEdit>(window, box))
            text->setTabChangesFocus(true);
    }
    new AccessibleStates(window, words);
}
