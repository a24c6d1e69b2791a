#include "editing/individualbuttonsdialog_w.h"

#include "editing/indivbuttons.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/codepagerefusal.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T *named(QWidget *parent, const QString &name, int i)
{
    auto *widget = new T(parent);
    widget->setObjectName(name + QString::number(i));
    return widget;
}

void selectText(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace

IndividualButtonsDialog::IndividualButtonsDialog(MainContext &ctx, QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmIndiv"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // A grid rather than the design's twips: the rows hold the labels and
    // keys in whatever font the desktop gives them, and the fourth row fits.
    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    buildRows(grid);
    auto *buttons = new QHBoxLayout;
    for (int i : {2, 0, 1}) {
        cmdMain_[i] = named<QPushButton>(this, u"cmdMain"_s, i);
        connect(cmdMain_[i], &QPushButton::clicked, this, [this, i] {
            if (i == 0)
                ok();
            else if (i == 1)
                reject();
            else
                clearRows();
        });
        buttons->addWidget(cmdMain_[i]);
        if (i == 2)
            buttons->addStretch();
    }
    cmdMain_[0]->setDefault(true);
    grid->addLayout(buttons, 4, 0, 1, 6);
    loadValues();
    adjustSize();
    placeCentred(this, mainWindow);
}

void IndividualButtonsDialog::buildRows(QGridLayout *grid)
{
    for (int i = 0; i < 4; ++i) {
        auto *label = named<QLabel>(this, u"lbl"_s, i);
        label->setText(ctx_.words(Word::IndividualButton) + u' ' + QString::number(i + 1) +
                       u" :"_s);
        cbo0_[i] = named<QComboBox>(this, u"cbo0"_s, i);
        cbo0_[i]->addItems(IndivButtons::modifierItems());
        cbo1_[i] = named<QComboBox>(this, u"cbo1"_s, i);
        cbo1_[i]->addItems(IndivButtons::keyItems());
        cbo1_[i]->setMaxVisibleItems(16);
        txt_[i] = named<QLineEdit>(this, u"txt"_s, i);
        txt_[i]->setMinimumWidth(txt_[i]->fontMetrics().horizontalAdvance(u"{F5}{F6}{F7}"_s) + 12);
        // The row's label names its first list for a screen reader; the text
        // box is named the same way.
        label->setBuddy(cbo0_[i]);
        txt_[i]->setAccessibleName(ctx_.words(Word::IndividualButton) + u' ' +
                                   QString::number(i + 1));
        grid->addWidget(label, i, 0);
        grid->addWidget(cbo0_[i], i, 1);
        grid->addWidget(new QLabel(u"+"_s, this), i, 2);
        grid->addWidget(cbo1_[i], i, 3);
        grid->addWidget(new QLabel(u"+"_s, this), i, 4);
        grid->addWidget(txt_[i], i, 5);
    }
}

void IndividualButtonsDialog::run(MainContext &ctx, QWidget *mainWindow)
{
    IndividualButtonsDialog dialog(ctx, mainWindow);
    dialog.exec();
}

void IndividualButtonsDialog::loadValues()
{
    setWindowTitle(StripAmp(ctx_.words(Word::MenuIndividualButtons)));
    cmdMain_[0]->setText(ctx_.words(Word::ButtonOk));
    cmdMain_[1]->setText(ctx_.words(Word::ButtonCancel));
    cmdMain_[2]->setText(ctx_.words(Word::MenuNew));
    const auto &buttons = ctx_.state.prefs.IndivButton;
    for (int i = 0; i < 4; ++i) {
        selectText(cbo0_[i], buttons[i][0]);
        selectText(cbo1_[i], buttons[i][1]);
        txt_[i]->setText(buttons[i][2]);
    }
}

void IndividualButtonsDialog::ok()
{
    if (storeRows())
        accept();
}

void IndividualButtonsDialog::clearRows()
{
    for (int i = 0; i < 4; ++i) {
        cbo0_[i]->setCurrentIndex(0);
        selectText(cbo1_[i], u"free"_s);
        txt_[i]->clear();
    }
    cmdMain_[0]->setFocus();
}

bool IndividualButtonsDialog::storeRows()
{
    for (QLineEdit *field : txt_) {
        const QString bad = CodePageRefusal::firstRefused(field->text());
        if (!bad.isEmpty()) {
            ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                                  CodePageRefusal::message(bad));
            field->setFocus();
            return false;
        }
    }
    auto &buttons = ctx_.state.prefs.IndivButton;
    for (int i = 0; i < 4; ++i) {
        // A list without a selection shows a value pref.dat holds that the
        // list does not offer (a hand-made modifier): it is kept, not emptied.
        if (cbo0_[i]->currentIndex() >= 0)
            buttons[i][0] = cbo0_[i]->currentText();
        if (cbo1_[i]->currentIndex() >= 0)
            buttons[i][1] = cbo1_[i]->currentText();
        buttons[i][2] = txt_[i]->text();
    }
    reportWrite(ctx_.reports, ctx_.store.Save_pref());
    return true;
}
