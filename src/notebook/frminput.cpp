#include "notebook/frminput.h"

#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogplacement_w.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

bool onlyBlanks(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

} // namespace

FrmInput::FrmInput(AppState &state, const Words &words, Messages &messages, QWidget *mainWindow)
    : QDialog(mainWindow), state_(state), words_(words), messages_(messages)
{
    setObjectName(u"frmInput"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsX(this, 3945), twipsY(this, 1035));

    txtInput = new QLineEdit(this);
    txtInput->setObjectName(u"txtInput"_s);
    txtInput->setGeometry(twipsRect(this, 120, 135, 3735, 285));
    cmdMain0 = new QPushButton(this);
    cmdMain0->setObjectName(u"cmdMain0"_s);
    cmdMain0->setGeometry(twipsRect(this, 1680, 555, 975, 375));
    cmdMain0->setDefault(true); // Enter in the field is OK
    cmdMain1 = new QPushButton(this);
    cmdMain1->setObjectName(u"cmdMain1"_s);
    cmdMain1->setGeometry(twipsRect(this, 2880, 555, 975, 375));

    if (state_.DialogPrompt == words_(51)) {
        // A new entry's title: out of the way of the text just typed, with a wide OK.
        cmdMain0->setGeometry(twipsRect(this, 120, 555, 2535, 375));
        placeLowerLeft(this, mainWindow, 100);
    } else {
        placeCentred(this, mainWindow);
    }
    setWindowTitle(state_.DialogPrompt);
    individualMode_ = state_.DialogPrompt.toLower().contains(u"individual"_s);

    if (!onlyBlanks(state_.InputAnswer)) {
        txtInput->setText(state_.InputAnswer);
        txtInput->selectAll();
    }
    cmdMain0->setText(words_(31));
    cmdMain1->setText(words_(32));

    refuseUnstorableCharacters(txtInput, messages_, words_);
    connect(cmdMain0, &QPushButton::clicked, this, [this] { cmdMain_Click(0); });
    connect(cmdMain1, &QPushButton::clicked, this, [this] { cmdMain_Click(1); });
}

void FrmInput::run(AppState &state, const Words &words, Messages &messages, QWidget *mainWindow)
{
    FrmInput dialog(state, words, messages, mainWindow);
    dialog.exec();
}

void FrmInput::cmdMain_Click(int index)
{
    if (index == 0) {
        QString text = txtInput->text();
        while (text.endsWith(u' '))
            text.chop(1);
        txtInput->setText(text);
        state_.InputAnswer = text;
        accept();
    } else {
        state_.InputAnswer = u"CANCEL"_s;
        reject();
    }
}

void FrmInput::keyPressEvent(QKeyEvent *event)
{
    // Esc is the Cancel button here. The toolkit's own Esc would only close, which
    // (like the close box) leaves InputAnswer as the caller set it.
    if (event->key() == Qt::Key_Escape) {
        if (!individualMode_)
            cmdMain_Click(1);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
