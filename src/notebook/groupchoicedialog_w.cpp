#include "notebook/groupchoicedialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "ui/dialogplacement_w.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

GroupChoiceDialog::GroupChoiceDialog(const QString &prompt, const Words &words,
                                     const QStringList &groupLines, int selectedLine,
                                     QWidget *mainWindow)
    : QDialog(mainWindow)
{
    setObjectName(u"frmChange"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsX(this, 3255), twipsY(this, 3675));

    lbl0 = new QLabel(this);
    lbl0->setObjectName(u"lbl0"_s);
    lbl0->setGeometry(twipsRect(this, 120, 120, 3015, 255));
    lstList = new QListWidget(this);
    lstList->setObjectName(u"lstList"_s);
    lstList->setGeometry(twipsRect(this, 120, 480, 3015, 2595));
    // The label's "&&" shows as one "&" and its mnemonic leads into the list.
    lbl0->setBuddy(lstList);
    cmdMain0 = new QPushButton(this);
    cmdMain0->setObjectName(u"cmdMain0"_s);
    cmdMain0->setGeometry(twipsRect(this, 720, 3210, 1095, 375));
    cmdMain0->setDefault(true); // Enter in the list is OK
    cmdMain1 = new QPushButton(this);
    cmdMain1->setObjectName(u"cmdMain1"_s);
    cmdMain1->setGeometry(twipsRect(this, 2040, 3210, 1095, 375));
    placeCentred(this, mainWindow);

    setWindowTitle(prompt);
    lstList->setAccessibleName(prompt);
    // Each offered line keeps the group list line it stands for.
    for (int i = 0; i < groupLines.size(); ++i) {
        if (i == selectedLine)
            continue;
        auto *item = new QListWidgetItem(groupLines[i], lstList);
        item->setData(Qt::UserRole, i);
    }
    // Selects nothing unless a group bears that very name.
    const QList<QListWidgetItem *> named =
        lstList->findItems(words(Word::SelectAGroup), Qt::MatchExactly);
    if (!named.isEmpty())
        lstList->setCurrentItem(named.first());
    cmdMain0->setText(words(Word::ButtonOk));
    cmdMain1->setText(words(Word::ButtonCancel));
    lbl0->setText(words(Word::CheckDragAndDrop));

    lstList->installEventFilter(this);
    connect(lstList, &QListWidget::itemDoubleClicked, this, &GroupChoiceDialog::confirm);
    connect(cmdMain0, &QPushButton::clicked, this, &GroupChoiceDialog::confirm);
    connect(cmdMain1, &QPushButton::clicked, this, &QDialog::reject);
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
    const QList<QListWidgetItem *> selected = lstList->selectedItems();
    if (!selected.isEmpty())
        chosen_ = selected.first()->data(Qt::UserRole).toInt();
    accept();
}

bool GroupChoiceDialog::eventFilter(QObject *watched, QEvent *event)
{
    // With nothing selected yet, the first arrow key selects the line the list
    // points at instead of stepping past it.
    if (watched == lstList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && lstList->selectedItems().isEmpty() &&
            lstList->count() > 0) {
            lstList->setCurrentRow(lstList->currentRow() < 0 ? 0 : lstList->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
