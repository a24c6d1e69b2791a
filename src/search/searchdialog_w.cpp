#include "search/searchdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
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
    buildControls();
    // Modeless, and on top of every window, the main window included.
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);
    loadValues();
    adjustSize();
    placeBeside(this, mainWindow);
}

SearchDialog::~SearchDialog()
{
    engine_.stop();
    setBusy(false);
}

void SearchDialog::buildControls()
{
    QFormLayout *form = DialogForm::formOf(this);
    field_ = DialogForm::named<QLineEdit>(this, u"txtSearch"_s);
    // As wide as the design's field at least; longer captions widen the dialog.
    field_->setMinimumWidth(twipsX(this, 2415));
    form->addRow(field_);
    for (int i = 0; i < 6; ++i) {
        options_[i] = DialogForm::named<QCheckBox>(this, u"chckMode%1"_s.arg(i));
        connect(options_[i], &QCheckBox::clicked, this, [this] { field_->setFocus(); });
        form->addRow(options_[i]);
    }
    status_ = DialogForm::named<QLabel>(this, u"lblStatus"_s);
    status_->setTextFormat(Qt::PlainText);
    form->addRow(status_);

    auto *buttons = new QDialogButtonBox(this);
    for (int i = 0; i < 2; ++i) {
        searchButtons_[i] = DialogForm::named<QPushButton>(this, u"cmdSearch%1"_s.arg(i));
        buttons->addButton(searchButtons_[i], QDialogButtonBox::ActionRole);
        connect(searchButtons_[i], &QPushButton::clicked, this, [this, i] { search(i == 1); });
    }
    closeButton_ = DialogForm::named<QPushButton>(this, u"cmdMain"_s);
    buttons->addButton(closeButton_, QDialogButtonBox::RejectRole);
    connect(closeButton_, &QPushButton::clicked, this, &SearchDialog::closeKeepingOptions);
    form->addRow(buttons);
    // Takes the focus during a search, so that a screen reader hears the
    // outcome as its name; it has no face, and Tab passes it by.
    focusHolder_ = DialogForm::named<QPushButton>(this, u"cmdDummy"_s);
    focusHolder_->setGeometry(0, 0, 0, 0);
    focusHolder_->setFocusPolicy(Qt::NoFocus);
    for (QPushButton *button : {searchButtons_[0], searchButtons_[1], closeButton_, focusHolder_})
        button->setAutoDefault(false);

    // Enter in the field is Start, and only Start.
    connect(field_, &QLineEdit::returnPressed, this, [this] {
        if (searchButtons_[0]->isEnabled())
            search(false);
    });

    buttonCheck_ = new QTimer(this);
    buttonCheck_->setObjectName(u"timChckButton"_s);
    buttonCheck_->setInterval(250);
    connect(buttonCheck_, &QTimer::timeout, this, &SearchDialog::updateSearchButtons);
    progress_ = new QTimer(this);
    progress_->setInterval(100);
    connect(progress_, &QTimer::timeout, this, &SearchDialog::showProgress);
}

void SearchDialog::loadValues()
{
    const Words &words = win_.ctx.words;
    const SearchMemory &memory = win_.memory;
    setWindowTitle(StripAmp(words(Word::Search)));
    closeButton_->setText(words(Word::ButtonClose));
    searchButtons_[0]->setText(words(Word::ButtonStart));
    searchButtons_[1]->setText(words(Word::ButtonContinue));
    for (int i = 0; i < 6; ++i) {
        options_[i]->setText(words(Word::SearchTitles + i));
        options_[i]->setChecked(memory.options[i] != 0);
    }
    if (!memory.lastText.isEmpty()) {
        field_->setText(memory.lastText);
        field_->selectAll();
    }
    status_->setText(words(Word::EnterSearchString));
    field_->setAccessibleName(StripAmp(words(Word::Search)));
    focusHolder_->setAccessibleName(words(Word::Searching));
    updateSearchButtons();
    buttonCheck_->start();
}

SearchOptionSet SearchDialog::options() const
{
    std::array<int, 6> states{};
    for (int i = 0; i < 6; ++i)
        states[i] = options_[i]->isChecked() ? 1 : 0;
    return SearchOptionSet::from(states);
}

// A search selects other entries: never while the main window edits a text.
bool SearchDialog::editing() const
{
    return win_.main.edit.editing();
}

void SearchDialog::updateSearchButtons()
{
    const bool can = SearchRules::canSearch(field_->text(), options()) && !editing() && !pending_;
    for (QPushButton *button : searchButtons_)
        button->setEnabled(can);
}

void SearchDialog::closeKeepingOptions()
{
    SearchMemory &memory = win_.memory;
    memory.lastText = field_->text();
    for (int i = 0; i < 6; ++i)
        memory.options[i] = options_[i]->isChecked() ? 1 : 0;
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
    buttonCheck_->stop();
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
