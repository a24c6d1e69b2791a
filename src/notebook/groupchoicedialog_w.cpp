#include "notebook/groupchoicedialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

using namespace Qt::StringLiterals;

GroupChoiceDialog::GroupChoiceDialog(const QString &prompt, const Words &words,
                                     const QStringList &groupLines, int selectedLine,
                                     QWidget *mainWindow)
    : QDialog(mainWindow)
{
    setObjectName(u"frmChange"_s);
    QFormLayout *form = DialogForm::formOf(this);
    hint_ = DialogForm::named<QLabel>(this, u"lbl0"_s);
    groups_ = DialogForm::named<QListWidget>(this, u"lstList"_s);
    // The design's list; the dialog fits round it.
    groups_->setMinimumSize(twipsX(this, 3015), twipsY(this, 2595));
    // The label's "&&" shows as one "&" and its mnemonic leads into the list.
    hint_->setBuddy(groups_);
    form->addRow(hint_);
    form->addRow(groups_);
    QDialogButtonBox *buttons = DialogForm::okCancel(form, words);

    setWindowTitle(prompt);
    groups_->setAccessibleName(prompt);
    // Each offered line keeps the group list line it stands for.
    for (int i = 0; i < groupLines.size(); ++i) {
        if (i == selectedLine)
            continue;
        auto *item = new QListWidgetItem(groupLines[i], groups_);
        item->setData(Qt::UserRole, i);
    }
    // Selects nothing unless a group bears that very name.
    const QList<QListWidgetItem *> named =
        groups_->findItems(words(Word::SelectAGroup), Qt::MatchExactly);
    if (!named.isEmpty())
        groups_->setCurrentItem(named.first());
    hint_->setText(words(Word::CheckDragAndDrop));

    groups_->installEventFilter(this);
    connect(groups_, &QListWidget::itemDoubleClicked, this, &GroupChoiceDialog::confirm);
    connect(buttons, &QDialogButtonBox::accepted, this, &GroupChoiceDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    adjustSize();
    placeCentred(this, mainWindow);
}

std::optional<int> GroupChoiceDialog::choose(const QString &prompt, const Words &words,
                                             const QStringList &groupLines, int selectedLine,
                                             QWidget *mainWindow)
{
    GroupChoiceDialog dialog(prompt, words, groupLines, selectedLine, mainWindow);
    dialog.exec();
    return dialog.chosenLine();
}

void GroupChoiceDialog::confirm()
{
    const QList<QListWidgetItem *> selected = groups_->selectedItems();
    if (!selected.isEmpty())
        chosen_ = selected.first()->data(Qt::UserRole).toInt();
    accept();
}

bool GroupChoiceDialog::eventFilter(QObject *watched, QEvent *event)
{
    // With nothing selected yet, the first arrow key selects the line the list
    // points at instead of stepping past it.
    if (watched == groups_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && groups_->selectedItems().isEmpty() &&
            groups_->count() > 0) {
            groups_->setCurrentRow(groups_->currentRow() < 0 ? 0 : groups_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
