#include "search/searchdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

SearchDialog::SearchDialog(const SearchWindow &window, QWidget *mainWindow)
    : QDialog(mainWindow), win_(window)
{
    setObjectName(u"frmSearch"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    // Modeless, and on top of every window, the main window included.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(twipsX(this, 2775), twipsY(this, 3495));
    buildControls();
    loadValues();
    placeBeside(this, mainWindow);
}

SearchDialog::~SearchDialog()
{
    engine_.stop();
    setBusy(false);
}

void SearchDialog::buildControls()
{
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(u"txtSearch"_s);
    txtSearch->setGeometry(twipsRect(this, 120, 90, 2415, 285));
    for (int i = 0; i < 6; ++i) {
        chckMode[i] = new QCheckBox(this);
        chckMode[i]->setObjectName(u"chckMode%1"_s.arg(i));
        chckMode[i]->setGeometry(twipsRect(this, 120, 480 + 360 * i, 2535, 255));
        connect(chckMode[i], &QCheckBox::clicked, this, [this] { txtSearch->setFocus(); });
    }
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(u"lblStatus"_s);
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setGeometry(twipsRect(this, 120, 2640, 2415, 255));

    const int lefts[] = {120, 840};
    const int widths[] = {615, 975};
    for (int i = 0; i < 2; ++i) {
        cmdSearch[i] = new QPushButton(this);
        cmdSearch[i]->setObjectName(u"cmdSearch%1"_s.arg(i));
        cmdSearch[i]->setGeometry(twipsRect(this, lefts[i], 3000, widths[i], 375));
        connect(cmdSearch[i], &QPushButton::clicked, this, [this, i] { search(i == 1); });
    }
    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName(u"cmdMain"_s);
    closeButton_->setGeometry(twipsRect(this, 1920, 3000, 615, 375));
    connect(closeButton_, &QPushButton::clicked, this, &SearchDialog::closeKeepingOptions);
    // Takes the focus during a search; below the visible area.
    cmdDummy = new QPushButton(this);
    cmdDummy->setObjectName(u"cmdDummy"_s);
    cmdDummy->setGeometry(twipsRect(this, 120, 3600, 615, 375));
    // It is out of sight, so Tab passes it by; a screen reader hears its name
    // when a search gives it the focus.
    cmdDummy->setFocusPolicy(Qt::NoFocus);
    for (QPushButton *button : {cmdSearch[0], cmdSearch[1], closeButton_, cmdDummy})
        button->setAutoDefault(false);

    // Enter in the field is Start, and only Start.
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] {
        if (cmdSearch[0]->isEnabled())
            search(false);
    });

    timChckButton = new QTimer(this);
    timChckButton->setObjectName(u"timChckButton"_s);
    timChckButton->setInterval(250);
    connect(timChckButton, &QTimer::timeout, this, &SearchDialog::updateSearchButtons);
    timProgress = new QTimer(this);
    timProgress->setInterval(100);
    connect(timProgress, &QTimer::timeout, this, &SearchDialog::showProgress);
}

void SearchDialog::loadValues()
{
    const Words &words = win_.ctx.words;
    const SearchMemory &memory = win_.memory;
    setWindowTitle(StripAmp(words(Word::Search)));
    closeButton_->setText(words(Word::ButtonClose));
    cmdSearch[0]->setText(words(Word::ButtonStart));
    cmdSearch[1]->setText(words(Word::ButtonContinue));
    for (int i = 0; i < 6; ++i) {
        chckMode[i]->setText(words(Word::SearchTitles + i));
        chckMode[i]->setChecked(memory.options[i] != 0);
    }
    if (!memory.lastText.isEmpty()) {
        txtSearch->setText(memory.lastText);
        txtSearch->selectAll();
    }
    lblStatus->setText(words(Word::EnterSearchString));
    txtSearch->setAccessibleName(StripAmp(words(Word::Search)));
    cmdDummy->setAccessibleName(words(Word::Searching));
    fitCaptions();
    updateSearchButtons();
    timChckButton->start();
}

// The design's width holds the captions in the design's font; a wider font or
// a longer translation widens the option lines and the dialog with them.
void SearchDialog::fitCaptions()
{
    int widest = 0;
    for (const QCheckBox *box : chckMode)
        widest = std::max(widest, box->sizeHint().width());
    const int needed = chckMode[0]->x() * 2 + widest;
    if (needed <= width())
        return;
    setFixedWidth(needed);
    for (QCheckBox *box : chckMode)
        box->resize(widest, box->height());
}

SearchOptionSet SearchDialog::options() const
{
    std::array<int, 6> states{};
    for (int i = 0; i < 6; ++i)
        states[i] = chckMode[i]->isChecked() ? 1 : 0;
    return SearchOptionSet::from(states);
}

// A search selects other entries: never while the main window edits a text.
bool SearchDialog::editing() const
{
    return win_.main.edit.editing();
}

void SearchDialog::updateSearchButtons()
{
    const bool can =
        SearchRules::canSearch(txtSearch->text(), options()) && !editing() && !pending_;
    for (QPushButton *button : cmdSearch)
        button->setEnabled(can);
}

void SearchDialog::closeKeepingOptions()
{
    SearchMemory &memory = win_.memory;
    memory.lastText = txtSearch->text();
    for (int i = 0; i < 6; ++i)
        memory.options[i] = chckMode[i]->isChecked() ? 1 : 0;
    close();
}

void SearchDialog::keyPressEvent(QKeyEvent *event)
{
    // Esc stops a running search; otherwise it does nothing (the dialog has no
    // Cancel button, and closing it by the title bar would drop the search text).
    if (event->key() == Qt::Key_Escape) {
        engine_.stop();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SearchDialog::closeEvent(QCloseEvent *event)
{
    engine_.stop();
    setBusy(false);
    pending_ = false;
    timChckButton->stop();
    QDialog::closeEvent(event);
}

// While a long search runs, the user's input for any other window is dropped:
// the search reads a copy of the lists, and a hit must still name the line
// that is selected at its end.
bool SearchDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (!busy_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        const auto *widget = qobject_cast<const QWidget *>(watched);
        return widget && widget->window() != this;
    }
    case QEvent::Shortcut:
        return QApplication::activeWindow() != this;
    default:
        return false;
    }
}
